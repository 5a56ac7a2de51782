#include "search/DiscList.h"

#include <string_view>

#include "catalog/ElementNames.h"

namespace movra {
namespace {

// A category still being walked: its element children and how far the walk got.
struct Frame {
  std::vector<Element> children;
  size_t next = 0;
  std::string path;  // category path of its discs, with a trailing backslash (or empty)
};

Frame MakeFrame(Element category, std::string path) {
  return Frame{CatalogueDocument::ChildElements(category), 0, std::move(path)};
}

}  // namespace

std::vector<DiscListEntry> BuildDiscList(Element located) {
  std::vector<DiscListEntry> discs;
  if (!located) return discs;
  const std::string name = CatalogueDocument::ElementName(located);
  if (IsDiscElement(name)) {
    discs.push_back({"", std::string(NameOfElement(name))});
    return discs;
  }
  // CDLIST itself carries no prefix: its paths begin with the main category.
  std::string path = IsCategoryElement(name) ? std::string(NameOfElement(name)) + "\\" : std::string();

  // Depth first in document order, with an explicit stack so that a deeply
  // nested (hand-edited) catalogue cannot exhaust the call stack.
  std::vector<Frame> stack;
  stack.push_back(MakeFrame(located, std::move(path)));
  while (!stack.empty()) {
    Frame& frame = stack.back();
    if (frame.next == frame.children.size()) {
      stack.pop_back();
      continue;
    }
    const Element child = frame.children[frame.next++];
    const std::string child_name = CatalogueDocument::ElementName(child);
    if (IsCategoryElement(child_name)) {
      std::string child_path = frame.path + std::string(NameOfElement(child_name)) + "\\";
      stack.push_back(MakeFrame(child, std::move(child_path)));  // frame is not used after this
    } else if (IsDiscElement(child_name)) {
      discs.push_back({frame.path, std::string(NameOfElement(child_name))});
    }
  }
  return discs;
}

}  // namespace movra
