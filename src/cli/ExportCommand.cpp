// export DISC DIR: writes the disc's snapshot into DIR as <name>.cdg, never over a file.
#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "workflows/ExportSnapshot.h"

namespace movra {
namespace {

int RunExport(CliContext& context, const std::string& disc_text, const std::string& folder) {
  if (!context.Open()) return kExitRefused;
  const std::optional<std::string> disc = context.FindDisc(disc_text);
  if (!disc) return kExitRefused;
  SnapshotIndex index;
  const ExportResult exported = ExportDisc(context.Work(), index, false, *disc, NativeOfFsPath(folder));
  if (!exported.result.ok()) return context.Fail(exported.result.message);
  return kExitDone;
}

}  // namespace

void AddExportCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand("export", "write a disc's snapshot into DIR as <name>.cdg, as 导出快照 does");
  auto disc = std::make_shared<std::string>();
  auto folder = std::make_shared<std::string>();
  command->add_option("DISC", *disc, "the disc's path (电影\\动作\\DVD_01) or its unique name")->required();
  command->add_option("DIR", *folder, "an existing folder without a file of that name")->required();
  command->callback([&context, disc, folder] { context.exit_code = RunExport(context, *disc, *folder); });
}

}  // namespace movra
