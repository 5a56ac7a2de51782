#include "workflows/Workspace.h"

#include "platform/DataHome.h"
#include "platform/TextCodec.h"

namespace movra {

WorkflowResult CheckEditable(const Workspace& work) {
  if (work.catalogue.Root()) return {};
  return {Outcome::kCatalogueUnreadable, Utf8ToGbk("xml 配置文件无法读取，本次运行不会保存任何更改！")};
}

WorkflowResult SaveOrRestore(Workspace& work) {
  if (work.catalogue.Save() != SaveResult::kFailed) return {};
  // What is shown and what is on disk must agree: back to the file's content.
  const std::string file = work.catalogue.FileName();
  work.catalogue.Open(file);
  return {Outcome::kSaveFailed, Utf8ToGbk("保存 xml 配置文件时产生错误！")};
}

std::filesystem::path SnapshotFileOf(const Workspace& work, std::string_view disc_name) {
  return SnapshotFileIn(work.data_folder, disc_name);
}

}  // namespace movra
