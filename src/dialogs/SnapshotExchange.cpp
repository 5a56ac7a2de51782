// Snapshot import (File › 导入快照文件) and export (the category tree's
// 导出快照): a snapshot file from elsewhere becomes a catalogued disc, and a
// catalogued disc's snapshot is written to a folder of the user's choice.
#include <optional>
#include <string>
#include <vector>

#include "app/TForm1.h"
#include "catalog/CategoryTrees.h"
#include "dialogs/AddDiscCommand.h"
#include "dialogs/Appendidxfile.h"
#include "dialogs/DiscCataloguing.h"
#include "dialogs/FolderPicker.h"
#include "dialogs/ModalDialogs.h"
#include "dialogs/OpenFilePicker.h"
#include "dialogs/SnapshotTransfer.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"
#include "snapshot/SnapshotFile.h"

namespace movra {
namespace {

// The message for input the import dialog cannot leave with.
std::string RefusalText(DiscInputProblem problem) {
  switch (problem) {
    case DiscInputProblem::kInvalidName:
      return Utf8ToGbk("请修改快照名称：包含无效字符！请参考帮助中的说明。");
    case DiscInputProblem::kIncomplete:
      return Utf8ToGbk("快照信息不完整，请检查！");
    case DiscInputProblem::kNameTaken:
      return Utf8ToGbk("快照名称已存在！");
    case DiscInputProblem::kNone:
      break;
  }
  return {};
}

// Shows the import dialog for a file of that stem until its input passes
// the checks; the date, category and memo survive every refusal. nullopt on cancel.
std::optional<DiscInput> AskForImport(TForm1& form, const std::string& stem) {
  TAppIdxFile dialog(&form, form.Catalogue());
  dialog.Preset(stem, Now());
  for (;;) {
    ShowDialogModal(dialog);
    if (!dialog.Accepted()) return std::nullopt;
    DiscInput input{dialog.DiscNameText(), dialog.DateText(), dialog.CategoryPath(), dialog.Memo()};
    const DiscInputProblem problem = CheckDiscInput(form.Catalogue(), input, std::nullopt);
    if (problem == DiscInputProblem::kNone) return input;
    ShowInfoBox(&form, RefusalText(problem));
    dialog.ClearAccepted();
  }
}

// True when the file reads through as a snapshot.
bool ReadsAsSnapshot(const std::string& path) {
  SnapshotIndex scratch;
  return ReadSnapshot(scratch, path);
}

}  // namespace

void TForm1::N39Click() {
  const std::optional<std::string> file = OpenFiles().ChooseFile(this, "CDG Files(*.CDG)|*.CDG");
  if (file) ImportSnapshotFile(*file);
}

void TForm1::ImportSnapshotFiles(const std::vector<std::string>& native_paths) {
  for (const std::string& native : native_paths) {
    const std::string file = Utf8ToGbk(native);
    // Unlike the file dialog's answer, a named file may be missing.
    if (!Fs().FileExists(file)) {
      ShowInfoBox(this, Utf8ToGbk("找不到快照文件：") + file);
      continue;
    }
    ImportSnapshotFile(file);
  }
}

void TForm1::ImportSnapshotFile(const std::string& file) {
  const std::string bad_format = Utf8ToGbk("快照文件格式错误，导入失败！");
  // A file that is no snapshot is turned away before the user fills in the dialog.
  if (!ReadsAsSnapshot(file)) {
    ShowInfoBox(this, bad_format);
    return;
  }
  const std::optional<DiscInput> input = AskForImport(*this, FileStemOf(file));
  if (!input) return;
  const Element category = catalogue_.ResolvePath(input->category_path, false);
  if (!category) {
    ShowInfoBox(this, Utf8ToGbk("无法确定快照导入位置，导入失败！"));
    return;
  }

  // The file is in the data folder before the disc is catalogued, so a
  // catalogued disc always has its snapshot.
  switch (CopySnapshotIn(file, SnapshotPathOf(data_folder_, input->name_text))) {
    case ImportCopyResult::kCopied:
      break;
    case ImportCopyResult::kUnreadable:
      ShowInfoBox(this, bad_format);
      return;
    case ImportCopyResult::kCopyFailed:
      ShowInfoBox(this, Utf8ToGbk("复制快照文件错误，导入失败！"));
      return;
  }
  CatalogueDisc(catalogue_, category, *input);
  SaveCatalogue();
  ShowNewDisc(*this, input->name_text, input->category_path);
}

void TForm1::R2Click() {
  const wxTreeItemId node = current_category_node_;
  if (!node.IsOk()) return;
  const std::optional<std::string> folder = Folders().ChooseFolder(this, Utf8ToGbk("请选择导出位置"));
  if (!folder || !Fs().DirectoryExists(*folder)) {
    ShowInfoBox(this, Utf8ToGbk("请先指定导出的光盘！"));
    return;
  }
  const std::string name = NodeText(*TreeView1, node);
  const std::string source = SnapshotPathOf(data_folder_, name);
  if (!Fs().FileExists(source)) {
    ShowInfoBox(this, Utf8ToGbk("无法找到光盘快照，请选择光盘节点！"));
    return;
  }
  const std::string target = *folder + kPathSeparator + name + ".cdg";
  if (Fs().FileExists(target)) {
    ShowInfoBox(this, Utf8ToGbk("此文件夹已包含同名文件！"));
    return;
  }

  // The index is shared with the content view: when export loads it, the
  // content view is told which disc it now holds.
  const bool loaded = content_state_.loaded_disc_name == name;
  const ExportOutcome outcome = ExportSnapshot(index_, loaded, source, target);
  if (!loaded) {
    content_state_.loaded_disc_name = outcome.index_loaded ? name : std::string();
    content_state_.loaded_node_path = outcome.index_loaded ? NodePath(*TreeView1, node) : std::string();
  }
  if (!outcome.written) ShowInfoBox(this, Utf8ToGbk("写入导出文件时产生错误！"));
}

}  // namespace movra
