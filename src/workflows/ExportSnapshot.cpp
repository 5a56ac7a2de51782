#include "workflows/ExportSnapshot.h"

#include <system_error>

#include "workflows/SnapshotTransfer.h"
#include "platform/DataHome.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace movra {

ExportResult ExportDisc(const Workspace& work, SnapshotIndex& index, bool index_holds_disc,
                        std::string_view disc_name, const std::filesystem::path& folder) {
  ExportResult exported;
  exported.index_loaded = index_holds_disc;
  std::error_code error;
  if (folder.empty() || !std::filesystem::is_directory(folder, error)) {
    exported.result = {Outcome::kNotFound, Utf8ToGbk("请先指定导出的光盘！")};
    return exported;
  }
  const std::string source = FsPathOf(SnapshotFileOf(work, disc_name));
  if (!Fs().FileExists(source)) {
    exported.result = {Outcome::kNotFound, Utf8ToGbk("无法找到光盘快照，请选择光盘节点！")};
    return exported;
  }
  const std::string target = FsPathOf(SnapshotFileIn(folder, disc_name));
  if (Fs().FileExists(target) || Fs().DirectoryExists(target)) {
    exported.result = {Outcome::kRefused, Utf8ToGbk("此文件夹已包含同名文件！")};
    return exported;
  }
  const ExportOutcome outcome = ExportSnapshot(index, index_holds_disc, source, target);
  exported.index_loaded = outcome.index_loaded;
  if (!outcome.written) exported.result = {Outcome::kFailed, Utf8ToGbk("写入导出文件时产生错误！")};
  return exported;
}

}  // namespace movra
