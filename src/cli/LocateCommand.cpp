// locate DISC [PATH]: where the real disc is now. Prints the native path of
// the disc's root, or of PATH on it, while the medium is mounted (found by the
// serial its memo records, whatever letter it has) or its folder exists.
#include <CLI/CLI.hpp>

#include "cli/CliContext.h"
#include "platform/TextCodec.h"
#include "workflows/LiveFile.h"

namespace movra {
namespace {

int RunLocate(CliContext& context, const std::string& disc_text, const std::string& path_text) {
  if (!context.Open()) return kExitRefused;
  const std::optional<std::string> disc = context.FindDisc(disc_text);
  if (!disc) return kExitRefused;
  const std::optional<std::string> path = CliContext::ToGbk(path_text);
  if (!path) return context.Fail(Utf8ToGbk("路径包含 GBK 无法表示的字符！"));
  Workspace work = context.Work();
  const DriveMap& drives = context.Drives();
  const LiveLocation found = LocateOnDisc(work, drives, VolumeReaderOf(drives), *disc, *path);
  if (!found.result.ok()) {
    context.Fail(found.result.message);
    return found.result.outcome == Outcome::kNotFound ? kExitNothing : kExitRefused;
  }
  std::fprintf(context.out, "%s\n", found.native.c_str());
  return kExitDone;
}

}  // namespace

void AddLocateCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "locate", "the native path of a disc's root (or of PATH on it) while the disc is mounted or its folder exists; "
                "exit 1 with the disc to insert when it is absent");
  auto disc = std::make_shared<std::string>();
  auto path = std::make_shared<std::string>();
  command->add_option("DISC", *disc, "the disc's path as search shows it (电影\\动作\\DVD_01), or its unique name")
      ->required();
  command->add_option("PATH", *path, "a folder or file of the disc (VIDEO_TS\\VTS_01_1.VOB or E:\\VIDEO_TS\\VTS_01_1.VOB)");
  command->callback([&context, disc, path] { context.exit_code = RunLocate(context, *disc, *path); });
}

}  // namespace movra
