// Update disc (更新光盘, the category tree's context menu): the source of the
// disc's new content, the scan with its progress window, the changes against
// the catalogued snapshot, and on 确定 the new snapshot and the disc's Time.
#include <optional>
#include <string>

#include "app/TForm1.h"
#include "catalog/CategoryTrees.h"
#include "dialogs/DiscCataloguing.h"
#include "dialogs/DiscUpdate.h"
#include "dialogs/ModalDialogs.h"
#include "dialogs/ScanProgressDialog.h"
#include "dialogs/UpdateDiscDialogs.h"
#include "platform/DateTime.h"
#include "platform/MessageBox.h"
#include "platform/TextCodec.h"

namespace movra {

void TForm1::U1Click() {
  const wxTreeItemId node = current_category_node_;
  if (!node.IsOk() || TreeView1->GetItemImage(node) != kDiscImage) return;
  const std::string name = NodeText(*TreeView1, node);

  TUpdateSource source_dialog(this, Drives(), name);
  ShowDialogModal(source_dialog);
  if (!source_dialog.Accepted()) return;
  const std::string source = source_dialog.Source();
  if (source.empty()) return;

  PreparedUpdate prepared;
  {
    ScanFeedback feedback(this);
    prepared = PrepareDiscUpdate(catalogue_, Drives(), data_folder_, name, source, feedback.Callback());
  }
  switch (prepared.result) {
    case UpdateScanResult::kReady:
      break;
    case UpdateScanResult::kCancelled:
      return;
    case UpdateScanResult::kNoSuchDisc:
      ShowInfoBox(this, Utf8ToGbk("无法在目录中找到选择的节点！"));
      return;
    case UpdateScanResult::kNothingFound:
      ShowInfoBox(this, Utf8ToGbk("扫描路径中没有找到任何文件或文件夹！"));
      return;
    case UpdateScanResult::kUnreadableImage:
      ShowInfoBox(this, Utf8ToGbk(kUnreadableImageMessage));
      return;
  }

  TUpdateDisc confirm(this, name, prepared.update->diff);
  ShowDialogModal(confirm);
  if (!confirm.Accepted()) return;
  switch (ApplyDiscUpdate(catalogue_, *prepared.update, DateTimeToText(Now()))) {
    case UpdateApplyResult::kReplaced:
      break;
    case UpdateApplyResult::kNoSuchDisc:
      ShowInfoBox(this, Utf8ToGbk("无法在目录中找到选择的节点！"));
      return;
    case UpdateApplyResult::kSnapshotNotWritten:
      ShowInfoBox(this, Utf8ToGbk("写入光盘快照文件时产生错误！"));
      return;
    case UpdateApplyResult::kCatalogueNotSaved:
      ShowInfoBox(this, Utf8ToGbk("保存 xml 配置文件时产生错误！"));
      return;
  }
  // The next visit to the disc reads its new snapshot.
  if (content_state_.loaded_disc_name == name) {
    content_state_.loaded_disc_name.clear();
    content_state_.loaded_node_path.clear();
  }
}

}  // namespace movra
