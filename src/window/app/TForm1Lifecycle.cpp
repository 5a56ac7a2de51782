// Start-up, refresh and close of the main window.
#include "window/app/TForm1.h"

#include "browse/FirstStartHint.h"
#include "window/controls/CategoryTrees.h"
#include "platform/FileSystem.h"
#include "window/dialogs/MessageBox.h"
#include "platform/TextCodec.h"
#include "catalog/ElementNames.h"
#include "workflows/CatalogueEdit.h"

namespace movra {
namespace {

// Tree updates without painting in between; the tree is repainted at the end.
class FrozenTree {
 public:
  explicit FrozenTree(wxTreeCtrl* tree) : tree_(tree) { tree_->Freeze(); }
  ~FrozenTree() {
    tree_->Thaw();
    tree_->Refresh();
  }
  FrozenTree(const FrozenTree&) = delete;
  FrozenTree& operator=(const FrozenTree&) = delete;

 private:
  wxTreeCtrl* tree_;
};

}  // namespace

void TForm1::StartUp() {
  program_folder_ = options_.program_folder;
  const DataHome home = options_.home.value_or(PortableHome(program_folder_));
  options_.catalogue_file = FsPathOf(home.catalogue);
  backup_file_ = FsPathOf(home.backup);
  home_folder_ = home.folder;
  data_folder_native_ = home.data_folder;
  data_folder_ = FsPathOf(home.data_folder) + kPathSeparator;
  // The data folder is made on the first start; without it no disc can be added.
  if (const std::string error = EnsureDataFolder(data_folder_native_); !error.empty()) ShowInfoBox(this, error);
  BackUpAndOpenCatalogue();
  FillTrees(false);
  SyncCurrentNodes();
  index_keeper_ = std::make_unique<IndexKeeper>(*this);
  UpdateFirstStartHint();
  StartFollowing();
}

void TForm1::UpdateFirstStartHint() {
  bool has_category = false;
  for (Element child : CatalogueDocument::ChildElements(catalogue_.CdList()))
    has_category = has_category || IsCategoryElement(CatalogueDocument::ElementName(child));
  if (has_category == !content_state_.showing_hint) return;
  content_state_.showing_hint = !has_category;
  ContentListCtrl::Quiet quiet(*ListView1);
  if (has_category)
    ListView1->Model().Clear();
  else
    BuildFirstStartHint(icons_->TextFileIconIndex(), ListView1->Model());
  ListView1->RefreshFromModel();
}

// The catalogue is released without writing; an index build stops between two discs.
TForm1::~TForm1() {
  home_watch_.reset();
  if (index_keeper_) index_keeper_->Stop();
}

std::string TForm1::BackupFile() const { return backup_file_; }

void TForm1::BackUpAndOpenCatalogue() {
  // The file is loaded before it is copied, so that a catalogue that cannot
  // be read never replaces the last good backup. A first run (no file) has
  // nothing to back up and nothing to report.
  home_lock_.file = LockFileOf(options_.catalogue_file);
  home_lock_.wait = kHomeLockWait;
  home_lock_.reloaded = [this] { ShowReloadedCatalogue(); };
  // Read and copied under the home's lock, the backup is one whole version
  // even while another program files a disc; when another program keeps
  // writing for the whole wait, the last backup stays as it is this time.
  Workspace work{catalogue_, data_folder_native_, nullptr, &home_lock_};
  const WorkflowResult backed = BackUpCatalogue(work, options_.catalogue_file, BackupFile());
  catalogue_writable_ = bool(catalogue_.Root());
  if (!backed.warning.empty()) ShowInfoBox(this, backed.warning);
  if (!backed.ok() && backed.outcome != Outcome::kBusy) ShowInfoBox(this, backed.message);
}

void TForm1::FillTrees(bool clear_first) {
  {
    FrozenTree frozen(TreeView1);
    AttachTreeHandlers(TreeView1, false, true);
    if (clear_first) TreeView1->DeleteAllItems();
    TreeView1->EnsureRoot();
    FillCategoryTree(*TreeView1, catalogue_, FillMode::kCategories);
    AttachTreeHandlers(TreeView1, true, true);
  }
  {
    FrozenTree frozen(TreeView2);
    AttachTreeHandlers(TreeView2, false, false);
    if (clear_first) TreeView2->DeleteAllItems();
    TreeView2->EnsureRoot();
    FillDiscTree(*TreeView2, catalogue_);
    AttachTreeHandlers(TreeView2, true, false);
  }
}

SaveResult TForm1::SaveCatalogue() {
  const SaveResult result = catalogue_.Save();
  if (result == SaveResult::kFailed) ShowInfoBox(this, Utf8ToGbk("保存 xml 配置文件时产生错误！"));
  UpdateFirstStartHint();
  return result;
}

void TForm1::ReportWorkflow(const WorkflowResult& result) {
  // The catalogue was read back from its file: the trees show it again.
  if (result.outcome == Outcome::kSaveFailed) N57Click();
  if (!result.message.empty()) ShowInfoBox(this, result.message);
}

bool TForm1::CanEdit() {
  const WorkflowResult editable = CheckEditable(Work());
  ReportWorkflow(editable);
  return editable.ok();
}

void TForm1::ResetHistory() {
  browse_.history.ClearAll();
  while (PopupMenu3->GetMenuItemCount() > 0) PopupMenu3->Destroy(PopupMenu3->FindItemByPosition(0));
  while (PopupMenu4->GetMenuItemCount() > 0) PopupMenu4->Destroy(PopupMenu4->FindItemByPosition(0));
  ToolBar1->EnableTool(ToolButton1->GetId(), false);
  ToolBar1->EnableTool(ToolButton13->GetId(), false);
}

void TForm1::N57Click() {
  ResetHistory();
  // A catalogue that became unreadable is reported as at start-up; nothing
  // is written while it stays so.
  const bool exists = Fs().FileExists(options_.catalogue_file);
  catalogue_writable_ = catalogue_.Open(options_.catalogue_file);
  if (exists && !catalogue_writable_) {
    ShowInfoBox(this, Utf8ToGbk("xml 配置文件无法读取，本次运行不会保存任何更改！"));
  }
  FillTrees(true);
  // The old nodes are gone; the current nodes wait for the next pointer action or synchronisation.
  current_category_node_ = wxTreeItemId();
  current_disc_node_ = wxTreeItemId();
  {
    ContentListCtrl::Quiet quiet(*ListView1);
    ListView1->Model().Clear();
    ListView1->RefreshFromModel();
  }
  content_state_.showing_hint = false;
  UpdateFirstStartHint();
}

void TForm1::N38Click() {
  SaveSettings();
  index_.Clear();
  if (index_keeper_) index_keeper_->Stop();
  options_.exit_process(0);
}

}  // namespace movra
