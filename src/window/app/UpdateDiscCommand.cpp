// Update disc (更新光盘, the category tree's context menu): the source of the
// disc's new content, the scan with its progress window, the changes against
// the catalogued snapshot, and on 确定 the new snapshot and the disc's Time.
#include <optional>
#include <string>

#include "window/app/TForm1.h"
#include "window/controls/CategoryTrees.h"
#include "window/dialogs/ModalDialogs.h"
#include "window/dialogs/ScanProgressDialog.h"
#include "window/dialogs/UpdateDiscDialogs.h"
#include "platform/DateTime.h"
#include "window/dialogs/MessageBox.h"
#include "platform/TextCodec.h"
#include "workflows/UpdateDisc.h"

namespace movra {

void TForm1::U1Click() {
  const wxTreeItemId node = current_category_node_;
  if (!node.IsOk() || TreeView1->GetItemImage(node) != kDiscImage || !CanEdit()) return;
  const std::string name = NodeText(*TreeView1, node);

  TUpdateSource source_dialog(this, Drives(), name);
  ShowDialogModal(source_dialog);
  if (!source_dialog.Accepted()) return;
  const std::string source = source_dialog.Source();
  if (source.empty()) return;

  // The Add dialog's remembered 排除 field applies here as well.
  const std::optional<std::vector<std::string>> exclude = ExclusionFieldPatterns(ScanExclusionText());
  if (!exclude) {
    ShowInfoBox(this, UnholdableExclusionMessage());
    return;
  }
  Workspace work = Work();
  PreparedUpdate prepared;
  {
    ScanFeedback feedback(this);
    prepared = PrepareDiscUpdate(work, Drives(), name, source, feedback.Callback(), ScanExclusions(*exclude));
  }
  if (!prepared.result.ok()) {
    ReportWorkflow(prepared.result);
    return;
  }

  TUpdateDisc confirm(this, name, prepared.update->diff);
  ShowDialogModal(confirm);
  if (!confirm.Accepted()) return;
  if (const WorkflowResult applied = ApplyDiscUpdate(work, *prepared.update, DateTimeToText(Now())); !applied.ok()) {
    ReportWorkflow(applied);
    return;
  }
  // The next visit to the disc reads its new snapshot.
  if (content_state_.loaded_disc_name == name) {
    content_state_.loaded_disc_name.clear();
    content_state_.loaded_node_path.clear();
  }
}

}  // namespace movra
