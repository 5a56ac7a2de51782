// Snapshot import (File › 导入快照文件) and export (the category tree's
// 导出快照): the file chooser, the import dialog and the folder picker; the
// workflows copy, catalogue and write the files.
#include <optional>
#include <string>
#include <vector>

#include "window/app/AddDiscCommand.h"
#include "window/app/TForm1.h"
#include "browse/DisplayFormat.h"
#include "window/controls/CategoryTrees.h"
#include "window/dialogs/Appendidxfile.h"
#include "window/dialogs/FolderPicker.h"
#include "window/dialogs/ModalDialogs.h"
#include "window/dialogs/OpenFilePicker.h"
#include "snapshot/SnapshotName.h"
#include "workflows/SnapshotTransfer.h"
#include "platform/DataHome.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "window/dialogs/MessageBox.h"
#include "platform/TextCodec.h"
#include "window/controls/WxText.h"
#include "snapshot/SnapshotFile.h"
#include "workflows/ExportSnapshot.h"
#include "workflows/ImportList.h"
#include "workflows/ImportSnapshot.h"
#include "catalog/NameRules.h"

namespace movra {
namespace {

// Shows the import dialog for a file of that stem until its input passes
// the checks; the date, category and memo survive every refusal. nullopt on cancel.
std::optional<DiscInput> AskForImport(TForm1& form, const std::string& stem) {
  TAppIdxFile dialog(&form, form.Catalogue());
  dialog.Preset(stem, Now());
  for (;;) {
    ShowDialogModal(dialog);
    if (!dialog.Accepted()) return std::nullopt;
    DiscInput input{dialog.DiscNameText(), dialog.DateText(), dialog.CategoryPath(), dialog.Memo()};
    Workspace work = form.Work();
    const WorkflowResult checked = CheckImport(work, input);
    if (checked.ok()) return input;
    ShowInfoBox(&form, checked.message);
    if (checked.outcome != Outcome::kRefused) return std::nullopt;
    dialog.ClearAccepted();
  }
}

}  // namespace

void TForm1::N39Click() {
  if (!CanEdit()) return;
  const std::optional<std::string> file = OpenFiles().ChooseFile(this, "CDG Files(*.CDG)|*.CDG");
  if (file) ImportChosenSnapshot(*file);
}

void TForm1::L2Click() {
  if (!CanEdit()) return;
  const std::optional<std::string> file =
      OpenFiles().ChooseFile(this, Utf8ToGbk("文件列表 (*.efu;*.csv)|*.efu;*.csv|所有文件 (*)|*"));
  if (!file) return;
  const std::optional<DiscInput> input = AskForImport(*this, NativeNameToGbk(FileStemOf(*file)));
  if (!input) return;
  Workspace work = Work();
  const WorkflowResult imported = ImportFileList(work, Drives(), *file, *input);
  if (!imported.ok()) {
    ReportWorkflow(imported);
    return;
  }
  ShowNewDisc(*this, input->name_text, input->category_path);
  SnapshotIndex read;
  ReadSnapshot(read, FsPathOf(SnapshotFileOf(work, CleanName(input->name_text))));
  SetStatusPanel(0, GbkToWx(Utf8ToGbk("已导入光盘 ") + input->name_text + Utf8ToGbk("（") + GroupedDigits(read.Count()) +
                            Utf8ToGbk(" 个对象）")));
}

void TForm1::ImportSnapshotFiles(const std::vector<std::string>& native_paths) {
  for (const std::string& native : native_paths) {
    if (!CanEdit()) return;
    // Unlike the file dialog's answer, a named file may be missing.
    if (!Fs().FileExists(native)) {
      ShowInfoBox(this, Utf8ToGbk("找不到快照文件：") + NativeNameToGbk(native));
      continue;
    }
    ImportChosenSnapshot(native);
  }
}

void TForm1::ImportChosenSnapshot(const std::string& file) {
  // A file that is no snapshot is turned away before the user fills in the dialog.
  if (const WorkflowResult readable = CheckImportFile(file); !readable.ok()) {
    ReportWorkflow(readable);
    return;
  }
  const std::optional<DiscInput> input = AskForImport(*this, Utf8ToGbk(FileStemOf(file)));
  if (!input) return;
  Workspace work = Work();
  const WorkflowResult imported = ImportSnapshotFile(work, file, *input);
  if (!imported.ok()) {
    ReportWorkflow(imported);
    return;
  }
  ShowNewDisc(*this, input->name_text, input->category_path);
  SnapshotIndex read;
  ReadSnapshot(read, file);
  SetStatusPanel(0, GbkToWx(Utf8ToGbk("已导入光盘 ") + input->name_text + Utf8ToGbk("（") + GroupedDigits(read.Count()) +
                            Utf8ToGbk(" 个对象）")));
}

void TForm1::R2Click() {
  const wxTreeItemId node = current_category_node_;
  if (!node.IsOk()) return;
  const std::optional<std::string> folder = Folders().ChooseFolder(this, Utf8ToGbk("请选择导出位置"));
  const std::string name = NodeText(*TreeView1, node);
  // The index is shared with the content view: when export loads it, the
  // content view is told which disc it now holds.
  const bool loaded = content_state_.loaded_disc_name == name;
  const ExportResult exported =
      ExportDisc(Work(), index_, loaded, name, folder ? NativeOfFsPath(*folder) : std::filesystem::path());
  if (!loaded && exported.result.outcome != Outcome::kNotFound && exported.result.outcome != Outcome::kRefused) {
    content_state_.loaded_disc_name = exported.index_loaded ? name : std::string();
    content_state_.loaded_node_path = exported.index_loaded ? NodePath(*TreeView1, node) : std::string();
  }
  ReportWorkflow(exported.result);
  if (exported.result.ok() && folder)
    SetStatusPanel(0, GbkToWx(Utf8ToGbk("已导出到 ") + NativeNameToGbk(*folder) + kPathSeparator + SnapshotFileName(name)));
}

}  // namespace movra
