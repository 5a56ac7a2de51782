// Add disc: the Add-disc dialog until its input passes the checks, the scan
// of the medium (with feedback and a way to stop it), then the workflow files
// the disc; the window shows the new nodes and opens the drive's tray.
#include "window/app/AddDiscCommand.h"

#include <optional>
#include <string>

#include "window/app/TForm1.h"
#include "browse/DisplayFormat.h"
#include "window/controls/CategoryTrees.h"
#include "window/dialogs/Appendcd.h"
#include "window/dialogs/ModalDialogs.h"
#include "window/dialogs/ScanProgressDialog.h"
#include "window/dialogs/MessageBox.h"
#include "platform/TextCodec.h"
#include "platform/Volume.h"
#include "window/controls/WxText.h"
#include "snapshot/ScanSource.h"
#include "workflows/AddDisc.h"
#include "catalog/ElementNames.h"

namespace movra {
namespace {

TrayOpener& Tray() {
  static TrayOpener opener;
  return opener;
}

// What the user asked for once the dialog's input was accepted.
struct AddDiscRequest {
  DiscInput input;
  std::string scan_path;  // drive path with a trailing backslash
  std::vector<std::string> exclude;  // names the scan leaves out (GBK patterns)
};

// Shows the dialog until its input passes the checks, telling the user what
// is wrong each time; the input survives every refusal. nullopt on cancel or
// when the category named no element.
std::optional<AddDiscRequest> AskForDisc(TForm1& form) {
  TAppend dialog(&form, form.Catalogue(), form.Drives());
  // The category selected in the main window (or the one holding the selected disc) comes preselected.
  wxTreeItemId category = SelectedNode(*form.TreeView1);
  while (category.IsOk() && form.TreeView1->GetItemImage(category) != kCategoryImage)
    category = ParentNode(*form.TreeView1, category);
  const wxTreeItemId preset =
      category.IsOk() ? FindNodeByPath(*dialog.TreeView1, NodePath(*form.TreeView1, category)) : wxTreeItemId();
  if (preset.IsOk()) {
    dialog.TreeView1->SelectItem(preset);
    dialog.TreeView1->EnsureVisible(preset);
    dialog.TreeView1Click();
  }
  dialog.SetExclusionText(form.ScanExclusionText());
  for (;;) {
    ShowDialogModal(dialog);
    if (!dialog.Accepted()) return std::nullopt;
    const std::optional<std::vector<std::string>> exclude = ExclusionFieldPatterns(dialog.ExclusionText());
    if (!exclude) {
      ShowInfoBox(&form, UnholdableExclusionMessage());
      dialog.ClearAccepted();
      continue;
    }
    AddDiscRequest request{{dialog.DiscNameText(), dialog.DateText(), dialog.CategoryPath(), dialog.Memo()},
                           dialog.ScanPath(), *exclude};
    Workspace work = form.Work();
    const WorkflowResult checked = CheckNewDisc(work, form.Drives(), request.input, dialog.ScanPathUtf8());
    if (checked.ok()) {
      // The field is offered again next time and applies to 更新光盘 too.
      form.ScanExclusionText() = dialog.ExclusionText();
      return request;
    }
    // A category that names nothing ends the command quietly.
    if (checked.outcome != Outcome::kRefused) return std::nullopt;
    ShowInfoBox(&form, checked.message);
    dialog.ClearAccepted();
  }
}

}  // namespace

void SetTrayOpener(TrayOpener opener) { Tray() = std::move(opener); }

void ShowNewDisc(TForm1& form, std::string_view name, std::string_view category_path) {
  // The disc tree lists every catalogued disc, whether or not the category
  // tree has a node for its category.
  const wxTreeItemId category_node = FindNodeByPath(*form.TreeView1, category_path);
  if (category_node.IsOk()) AddNode(*form.TreeView1, category_node, name, kDiscImage);
  AddElementNode(*form.TreeView2, wxTreeItemId(), DiscElementName(name));
  form.TreeView2->SortChildren(form.TreeView2->GetRootItem());
  form.TreeView2->Refresh();
}

void TForm1::ToolButton8Click() {
  if (!CanEdit()) return;
  const std::optional<AddDiscRequest> request = AskForDisc(*this);
  if (!request) return;

  WorkflowResult scanned;
  {
    ScanFeedback feedback(this);
    scanned = ScanMedium(index_, Drives(), request->scan_path, feedback.Callback(), ScanExclusions(request->exclude));
  }
  // The index no longer holds the disc the content view loaded last.
  content_state_.loaded_disc_name.clear();
  content_state_.loaded_node_path.clear();
  if (!scanned.ok()) {
    ReportWorkflow(scanned);
    return;
  }

  Workspace work = Work();
  const WorkflowResult filed = FileNewDisc(work, request->input, index_);
  if (!filed.ok()) {
    ReportWorkflow(filed);
    return;
  }
  ShowNewDisc(*this, request->input.name_text, request->input.category_path);
  SetStatusPanel(0, GbkToWx(Utf8ToGbk("已添加光盘 ") + request->input.name_text + Utf8ToGbk("（") +
                            GroupedDigits(index_.Count()) + Utf8ToGbk(" 个对象）")));

  // An image took the first optical drive's letter, but that drive holds no disc of it.
  if (ImageFileOf(Drives(), request->scan_path)) return;
  const std::string drive = index_.DriveOf();
  if (Drives().DriveTypeOf(drive) != DriveType::CdRom) return;
  if (Tray()) {
    Tray()(Drives(), drive);
  } else {
    SetTrayDoor(Drives(), true, drive);
  }
}

void TForm1::N37Click() { ToolButton8Click(); }

}  // namespace movra
