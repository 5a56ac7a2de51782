// mkcat PATH: a main category "A" or a sub-category "A\B" of an existing main category.
#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "platform/TextCodec.h"
#include "workflows/CategoryWorkflows.h"

namespace movra {
namespace {

int RunMkcat(CliContext& context, const std::string& path) {
  if (!context.Open()) return kExitRefused;
  const std::optional<std::string> gbk = CliContext::ToGbk(path);
  if (!gbk) return context.Fail(InvalidCategoryNameText());
  Workspace work = context.Work();
  return context.Report(MakeCategory(work, *gbk).result);
}

}  // namespace

void AddMkcatCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("mkcat", "create a main category A or a sub-category A\\B (A must exist)");
  auto path = std::make_shared<std::string>();
  command->add_option("PATH", *path, "A or A\\B; names of Chinese characters, letters, digits, . _ -")->required();
  command->callback([&context, path] { context.exit_code = RunMkcat(context, *path); });
}

}  // namespace movra
