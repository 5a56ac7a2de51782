// check: does the data folder match the catalogue? One line per problem:
// missing TAB disc, unreadable TAB disc, orphan TAB file; exit 1 when any.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <set>

#include "cli/CliContext.h"
#include "platform/DataHome.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "snapshot/SnapshotFile.h"
#include "snapshot/SnapshotName.h"

namespace movra {
namespace {

int RunCheck(CliContext& context) {
  if (!context.Open()) return kExitRefused;
  // Under the home's lock, so that a disc another program is filing (its
  // snapshot written, the catalogue not yet) is not taken for an orphan.
  Workspace work = context.Work();
  CatalogueEdit edit = CatalogueEdit::Begin(work);
  if (!edit.ok()) return context.Report(edit.Refusal());
  size_t problems = 0;
  std::set<std::string> known;  // native file names of the catalogued discs' snapshots
  for (const auto& [name, path] : context.DiscPaths()) {
    known.insert(GbkToUtf8(SnapshotFileName(name)));
    const std::string file = context.SnapshotFile(name);
    SnapshotIndex index;
    if (!Fs().FileExists(file)) {
      context.PrintLine("missing\t" + path);
      ++problems;
    } else if (!ReadSnapshot(index, file)) {
      context.PrintLine("unreadable\t" + path);
      ++problems;
    }
  }
  std::error_code error;
  std::vector<std::string> orphans;
  for (const auto& entry : std::filesystem::directory_iterator(context.Home().data_folder, error)) {
    const std::string file_name = FsPathOf(entry.path().filename());
    if (entry.path().extension() != ".cdg" && entry.path().extension() != ".CDG") continue;
    if (!known.contains(file_name)) orphans.push_back(file_name);
  }
  std::sort(orphans.begin(), orphans.end());
  for (const std::string& file_name : orphans) context.PrintLine("orphan\t" + NativeNameToGbk(file_name));
  problems += orphans.size();
  if (error) return context.Fail(Utf8ToGbk("无法读取光盘快照文件夹！"));
  return problems == 0 ? kExitDone : kExitNothing;
}

}  // namespace

void AddCheckCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "check",
      "check catalogue and data folder: missing TAB disc (no snapshot), unreadable TAB disc (snapshot does not read), "
      "orphan TAB file (.cdg no disc refers to); exit 1 when anything is found");
  command->callback([&context] { context.exit_code = RunCheck(context); });
}

}  // namespace movra
