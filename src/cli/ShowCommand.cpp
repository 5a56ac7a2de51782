// show DISC [FOLDER]: the entries of a disc's folder as the content list
// shows them: kind TAB size TAB modified TAB name.
#include <CLI/CLI.hpp>

#include "browse/FolderListing.h"
#include "cli/CliContext.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "snapshot/SnapshotFile.h"
#include "snapshot/SnapshotIndex.h"

namespace movra {
namespace {

// The key of a folder given as "E:\VIDEO_TS\", "VIDEO_TS" or "VIDEO_TS/SUB" on a disc whose root is root.
std::string FolderKey(const std::string& root, std::string folder) {
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  while (!folder.empty() && folder.front() == '\\') folder.erase(0, 1);
  if (folder.find(':') == std::string::npos) folder = root + folder;
  if (folder.back() != '\\') folder += '\\';
  return folder;
}

int RunShow(CliContext& context, const std::string& disc_text, const std::string& folder_text) {
  if (!context.Open()) return kExitRefused;
  const std::optional<std::string> disc = context.FindDisc(disc_text);
  if (!disc) return kExitRefused;
  const std::string file = context.SnapshotFile(*disc);
  if (!Fs().FileExists(file)) return context.Fail(Utf8ToGbk("光盘(") + file + Utf8ToGbk(")不存在！"));
  SnapshotIndex index;
  if (!ReadSnapshot(index, file)) return context.Fail(Utf8ToGbk("光盘快照文件无法读取：") + file);
  const std::optional<std::string> folder = CliContext::ToGbk(folder_text);
  if (!folder) return context.Fail(Utf8ToGbk("找不到文件夹：") + Utf8ToGbk(folder_text));
  const std::string key = FolderKey(index.RootFolder(), *folder);
  const std::vector<SnapshotEntry> entries = FolderEntries(index, key);
  if (entries.empty() && !folder->empty()) return context.Fail(Utf8ToGbk("找不到文件夹：") + key);
  for (const SnapshotEntry& e : entries) {
    context.PrintLine(std::string(e.isFile ? "file\t" : "folder\t") + std::to_string(e.isFile ? e.size : 0) + "\t" +
                      CliContext::TimeText(e.modified) + "\t" + e.name);
  }
  return kExitDone;
}

}  // namespace

void AddShowCommand(CLI::App& app, CliContext& context) {
  auto* command = app.add_subcommand(
      "show", "entries of a disc's folder: kind TAB size TAB modified TAB name, folders first as the window lists them");
  auto disc = std::make_shared<std::string>();
  auto folder = std::make_shared<std::string>();
  command->add_option("DISC", *disc, "the disc's path as search shows it (电影\\动作\\DVD_01), or its unique name")
      ->required();
  command->add_option("FOLDER", *folder, "a folder of the disc (VIDEO_TS, VIDEO_TS\\SUB or E:\\VIDEO_TS\\); root when omitted");
  command->callback([&context, disc, folder] { context.exit_code = RunShow(context, *disc, *folder); });
}

}  // namespace movra
