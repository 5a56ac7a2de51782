// rm PATH: deletes a disc, or a category with every disc in it, and their snapshot files.
#include <CLI/CLI.hpp>

#include <algorithm>

#include "catalog/CategoryEdits.h"
#include "cli/CliContext.h"
#include "platform/TextCodec.h"
#include "workflows/DeleteEntry.h"
#include "catalog/ElementNames.h"

namespace movra {
namespace {

// The element names from CDLIST down to what path names: a category path
// first, then a disc path, then a disc's bare name when it is unique.
std::optional<std::vector<std::string>> ElementNamesOf(CliContext& context, std::string gbk) {
  while (!gbk.empty() && gbk.back() == '\\') gbk.pop_back();
  std::vector<std::string> names;
  for (std::size_t start = 0; start <= gbk.size();) {
    const std::size_t slash = std::min(gbk.find('\\', start), gbk.size());
    names.push_back(CategoryElementName(gbk.substr(start, slash - start)));
    start = slash + 1;
  }
  if (FindElementByNames(context.Catalogue(), names)) return names;
  names.back().replace(0, kCategoryPrefix.size(), kDiscPrefix);
  if (FindElementByNames(context.Catalogue(), names)) return names;
  if (names.size() > 1) {
    context.Fail(Utf8ToGbk("无法在目录中找到选择的节点！"));
    return std::nullopt;
  }
  const std::optional<std::string> disc = context.FindDisc(GbkToUtf8(gbk));
  if (!disc) return std::nullopt;
  for (const auto& [name, path] : context.DiscPaths()) {
    if (name == *disc) return ElementNamesOf(context, path);
  }
  return std::nullopt;
}

int RunRm(CliContext& context, const std::string& path) {
  if (!context.Open()) return kExitRefused;
  const std::optional<std::string> gbk = CliContext::ToGbk(path);
  if (!gbk || gbk->empty()) return context.Fail(Utf8ToGbk("无法在目录中找到选择的节点！"));
  const std::optional<std::vector<std::string>> names = ElementNamesOf(context, *gbk);
  if (!names) return kExitRefused;
  Workspace work = context.Work();
  return context.Report(DeleteEntry(work, *names).result);
}

}  // namespace

void AddRmCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "rm", "delete a disc, or a category with everything in it, with their snapshot files (no question asked)");
  auto path = std::make_shared<std::string>();
  command->add_option("PATH", *path, "a category path (电影\\动作), a disc path (电影\\动作\\DVD_01) or a unique disc name")
      ->required();
  command->callback([&context, path] { context.exit_code = RunRm(context, *path); });
}

}  // namespace movra
