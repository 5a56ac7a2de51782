// list [PATH]: the categories (ending in a backslash) and discs below PATH,
// one per line, indented two spaces per level, in the trees' order.
#include <CLI/CLI.hpp>

#include <algorithm>

#include "cli/CliContext.h"
#include "platform/Collation.h"
#include "platform/TextCodec.h"
#include "catalog/ElementNames.h"

namespace movra {
namespace {

void ListBelow(CliContext& context, Element element, int depth) {
  std::vector<std::pair<std::string, Element>> children;
  for (Element child : CatalogueDocument::ChildElements(element)) {
    const std::string name = CatalogueDocument::ElementName(child);
    if (IsCategoryElement(name) || IsDiscElement(name)) children.emplace_back(name, child);
  }
  std::stable_sort(children.begin(), children.end(), [](const auto& a, const auto& b) {
    return LocaleCompare(NameOfElement(a.first), NameOfElement(b.first)) < 0;
  });
  for (const auto& [name, child] : children) {
    const bool category = IsCategoryElement(name);
    context.PrintLine(std::string(2 * depth, ' ') + std::string(NameOfElement(name)) + (category ? "\\" : ""));
    if (category) ListBelow(context, child, depth + 1);
  }
}

int RunList(CliContext& context, const std::string& path) {
  if (!context.Open()) return kExitRefused;
  Element start = context.Catalogue().CdList();
  if (!path.empty()) {
    const std::optional<std::string> gbk = CliContext::ToGbk(path);
    start = gbk ? context.Catalogue().ResolvePath(*gbk, false) : Element();
    if (!start) return context.Fail(Utf8ToGbk("找不到分类：") + gbk.value_or(Utf8ToGbk(path)));
  }
  ListBelow(context, start, 0);
  return kExitDone;
}

}  // namespace

void AddListCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("list", "categories (with a trailing \\) and discs below PATH, indented by depth");
  auto path = std::make_shared<std::string>();
  command->add_option("PATH", *path, "a category path such as 电影 or 电影\\动作 (all when omitted)");
  command->callback([&context, path] { context.exit_code = RunList(context, *path); });
}

}  // namespace movra
