#include "window/controls/CategoryTrees.h"

#include "catalog/ElementNames.h"

namespace movra {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Position of the first backslash at or after from that is a character of its
// own: the second byte of a double-byte GBK character (which may be 0x5C) is not.
std::size_t FindBackslash(std::string_view text, std::size_t from = 0) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x81 && c <= 0xFE) {
      ++i;
      continue;
    }
    if (c == '\\' && i >= from) return i;
  }
  return std::string_view::npos;
}

// True when the text's last character is a backslash.
bool EndsWithBackslash(std::string_view text) {
  return !text.empty() && text.back() == '\\' && FindBackslash(text, text.size() - 1) == text.size() - 1;
}

// The node to sort from after a fill: the given parent, else the whole tree.
wxTreeItemId SortStart(const wxTreeCtrl& tree, const wxTreeItemId& parent) {
  return parent.IsOk() ? parent : tree.GetRootItem();
}

}  // namespace

wxTreeItemId AddElementNode(wxTreeCtrl& tree, const wxTreeItemId& parent, std::string_view element_name) {
  const std::string_view prefix = element_name.substr(0, 2);
  const std::string_view text = element_name.size() > 2 ? element_name.substr(2) : std::string_view();
  return AddNode(tree, parent, text, prefix == kCategoryPrefix ? kCategoryImage : kDiscImage);
}

bool FillCategoryTree(wxTreeCtrl& tree, const CatalogueDocument& doc, FillMode mode, const wxTreeItemId& parent) {
  const Element cd_list = CatalogueDocument::FindChild(doc.Root(), "CDLIST");
  if (!cd_list) return false;
  const bool dialog = mode == FillMode::kDialog;
  const std::vector<Element> mains = CatalogueDocument::ChildElements(cd_list);
  for (const Element& a : mains) {
    const std::string a_name = CatalogueDocument::ElementName(a);
    if (dialog && !StartsWith(a_name, kCategoryPrefix)) continue;
    const wxTreeItemId a_node = AddElementNode(tree, parent, a_name);
    // Only categories hold entries; the children of a disc are its fields.
    if (!StartsWith(a_name, kCategoryPrefix)) continue;
    for (const Element& b : CatalogueDocument::ChildElements(a)) {
      const std::string b_name = CatalogueDocument::ElementName(b);
      if (dialog && !StartsWith(b_name, kCategoryPrefix)) continue;
      const wxTreeItemId b_node = AddElementNode(tree, a_node, b_name);
      if (dialog || !StartsWith(b_name, kCategoryPrefix)) continue;
      // Discs of a sub-category show their title; other children add nothing.
      for (const Element& c : CatalogueDocument::ChildElements(b)) {
        for (const Element& title : CatalogueDocument::ChildElements(c)) {
          if (CatalogueDocument::ElementName(title) != "Title") continue;
          AddNode(tree, b_node, CatalogueDocument::ElementText(title), kDiscImage);
        }
      }
    }
  }
  SortRecursively(tree, SortStart(tree, parent));
  return !mains.empty();
}

bool FillDiscTree(wxTreeCtrl& tree, const CatalogueDocument& doc) {
  const Element cd_list = CatalogueDocument::FindChild(doc.Root(), "CDLIST");
  const std::vector<Element> level1 = CatalogueDocument::ChildElements(cd_list);
  if (level1.empty()) return false;
  auto add_if_disc = [&tree](const std::string& name) {
    if (!StartsWith(name, kDiscPrefix)) return false;
    AddElementNode(tree, wxTreeItemId(), name);
    return true;
  };
  for (const Element& a : level1) {
    if (add_if_disc(CatalogueDocument::ElementName(a))) continue;
    for (const Element& b : CatalogueDocument::ChildElements(a)) {
      if (add_if_disc(CatalogueDocument::ElementName(b))) continue;
      for (const Element& c : CatalogueDocument::ChildElements(b)) add_if_disc(CatalogueDocument::ElementName(c));
    }
  }
  SortRecursively(tree, tree.GetRootItem());
  return true;
}

std::string NodePath(const wxTreeCtrl& tree, const wxTreeItemId& node, std::string_view own_text) {
  if (!node.IsOk() || own_text.empty()) return std::string();
  std::string path(own_text);
  for (wxTreeItemId up = ParentNode(tree, node); up.IsOk(); up = ParentNode(tree, up)) {
    std::string part = NodeText(tree, up);
    if (!EndsWithBackslash(part)) part.push_back('\\');
    path.insert(0, part);
  }
  if (!EndsWithBackslash(path)) path.push_back('\\');
  return path;
}

std::string NodePath(const wxTreeCtrl& tree, const wxTreeItemId& node) {
  return NodePath(tree, node, NodeText(tree, node));
}

wxTreeItemId FindSiblingByText(const wxTreeCtrl& tree, const wxTreeItemId& node, std::string_view text) {
  if (text.empty()) return wxTreeItemId();
  for (wxTreeItemId item = node; item.IsOk(); item = tree.GetNextSibling(item)) {
    if (NodeText(tree, item) == text) return item;
  }
  return wxTreeItemId();
}

wxTreeItemId FindNodeByPath(const wxTreeCtrl& tree, std::string_view path) {
  const wxTreeItemId first_top = FirstTopNode(tree);
  if (path.empty() || !first_top.IsOk()) return wxTreeItemId();
  const std::size_t slash = FindBackslash(path);
  const wxTreeItemId top = FindSiblingByText(tree, first_top, path.substr(0, slash));
  if (!top.IsOk() || slash == std::string_view::npos || slash + 1 == path.size()) return top;
  const std::string_view rest = path.substr(slash + 1);
  wxTreeItemIdValue cookie;
  const wxTreeItemId first_child = tree.GetFirstChild(top, cookie);
  return FindSiblingByText(tree, first_child, rest.substr(0, FindBackslash(rest)));
}

void RemoveDiscNodeByText(wxTreeCtrl& tree, std::string_view text) {
  for (wxTreeItemId item = FirstTopNode(tree); item.IsOk(); item = tree.GetNextSibling(item)) {
    if (NodeText(tree, item) == text) {
      tree.Delete(item);
      return;
    }
  }
}

}  // namespace movra
