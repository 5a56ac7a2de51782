#include "workflows/ImportSnapshot.h"

#include "catalog/NameRules.h"
#include "workflows/CatalogueEdit.h"
#include "workflows/SnapshotTransfer.h"
#include "platform/DataHome.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "snapshot/SnapshotFile.h"

namespace movra {
namespace {

WorkflowResult BadFormat() { return {Outcome::kFailed, Utf8ToGbk("快照文件格式错误，导入失败！")}; }

}  // namespace

std::string ImportRefusalText(DiscInputProblem problem) {
  switch (problem) {
    case DiscInputProblem::kInvalidName:
      return Utf8ToGbk("请修改快照名称：包含无效字符！请参考帮助中的说明。");
    case DiscInputProblem::kIncomplete:
      return Utf8ToGbk("快照信息不完整，请检查！");
    case DiscInputProblem::kNameTooLong:
      return Utf8ToGbk("请修改快照名称：名称太长，无法用作快照文件名！");
    case DiscInputProblem::kNameTaken:
      return Utf8ToGbk("快照名称已存在！");
    case DiscInputProblem::kNone:
      break;
  }
  return {};
}

WorkflowResult CheckImportFile(const std::string& file) {
  SnapshotIndex scratch;
  if (!ReadSnapshot(scratch, file)) return BadFormat();
  return {};
}

WorkflowResult CheckImport(Workspace& work, const DiscInput& input) {
  if (WorkflowResult editable = CheckEditable(work); !editable.ok()) return editable;
  const DiscInputProblem problem = CheckDiscInput(work.catalogue, input, std::nullopt);
  if (problem != DiscInputProblem::kNone) return {Outcome::kRefused, ImportRefusalText(problem)};
  return {};
}

WorkflowResult ImportSnapshotFile(Workspace& work, const std::string& file, const DiscInput& input) {
  CatalogueEdit edit = CatalogueEdit::Begin(work);
  if (!edit.ok()) return edit.Refusal();
  // Checked again against the catalogue as it is now: another program may
  // have filed a disc of that name or removed the category meanwhile.
  const DiscInputProblem problem = CheckDiscInput(work.catalogue, input, std::nullopt);
  if (problem != DiscInputProblem::kNone) return edit.Finish({Outcome::kRefused, ImportRefusalText(problem)});
  const Element category = work.catalogue.ResolvePath(input.category_path, false);
  if (!category) return edit.Finish({Outcome::kNotFound, Utf8ToGbk("无法确定快照导入位置，导入失败！")});
  if (std::string error = EnsureDataFolder(work.data_folder); !error.empty()) {
    return edit.Finish({Outcome::kFailed, error});
  }

  // The file is in the data folder before the disc is catalogued, so a
  // catalogued disc always has its snapshot.
  const std::string name = CleanName(input.name_text);
  const std::string target = FsPathOf(SnapshotFileOf(work, name));
  switch (CopySnapshotIn(file, target)) {
    case ImportCopyResult::kCopied:
      break;
    case ImportCopyResult::kUnreadable:
      return edit.Finish(BadFormat());
    case ImportCopyResult::kCopyFailed:
      return edit.Finish({Outcome::kFailed, Utf8ToGbk("复制快照文件错误，导入失败！")});
  }
  CatalogueDisc(work.catalogue, category, input);
  if (WorkflowResult saved = SaveOrRestore(work); !saved.ok()) {
    Fs().DeleteFile(target);
    return edit.Finish(saved);
  }
  WorkflowResult imported = edit.Finish({});
  if (work.observer) work.observer->SnapshotWritten(name);
  return imported;
}

}  // namespace movra
