// The window beside other writers of its home: the workspace with the home's
// lock, the busy cursor while another program holds it, and following what
// movra-cli or another window changed, in both trees and the content list.
#include <wx/evtloop.h>
#include <wx/utils.h>

#include "window/app/ContentViewParts.h"
#include "window/controls/CategoryTrees.h"
#include "window/controls/TreeSync.h"
#include "window/dialogs/MessageBox.h"
#include "platform/DataHome.h"
#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "browse/ContentNodes.h"
#include "workflows/CatalogueEdit.h"

namespace movra {
namespace {

// Calls visit for every node below node (not node itself), parents first.
void ForEachBelow(const wxTreeCtrl& tree, const wxTreeItemId& node, const std::function<void(wxTreeItemId)>& visit) {
  wxTreeItemIdValue cookie;
  for (wxTreeItemId c = tree.GetFirstChild(node, cookie); c.IsOk(); c = tree.GetNextChild(node, cookie)) {
    visit(c);
    ForEachBelow(tree, c, visit);
  }
}

// True when node is ancestor or lies below it.
bool IsAtOrBelow(const wxTreeCtrl& tree, const wxTreeItemId& node, const wxTreeItemId& ancestor) {
  return node.IsOk() && (node == ancestor || contentview::IsBelow(tree, node, ancestor));
}

// A catalogue written elsewhere that reads: a missing or damaged file (a
// writer without atomic renames, a file being copied in) is left for later.
bool ReadsAsCatalogue(const std::string& file) {
  if (!Fs().FileExists(file)) return false;
  CatalogueDocument probe;
  return probe.Open(file);
}

}  // namespace

Workspace TForm1::Work() {
  SnapshotObserver* observer = options_.snapshot_observer;
  if (observer == nullptr && index_keeper_) observer = &index_keeper_->Index();
  // A quick look at the lock (only once an edit has made its file): the edit
  // about to start may wait for another writer.
  if (!home_lock_.file.empty() && !busy_cursor_ && Fs().FileExists(home_lock_.file)) {
    const FileLock probe = FileLock::Acquire(home_lock_.file, std::chrono::milliseconds(0));
    TellIfNoLocks(probe.state());
    if (probe.state() == LockState::kBusy) {
      wxBeginBusyCursor();
      busy_cursor_ = true;
      CallAfter([this] {
        wxEndBusyCursor();
        busy_cursor_ = false;
      });
    }
  }
  return Workspace{catalogue_, data_folder_native_, observer, &home_lock_};
}

void TForm1::TellIfNoLocks(LockState state) {
  if (state != LockState::kUnsupported && state != LockState::kFailed) return;
  if (home_lock_.unsupported_told) return;
  home_lock_.unsupported_told = true;
  ShowInfoBox(this, NoLocksWarning());
}

void TForm1::StartFollowing() {
  if (wxEventLoopBase::GetActive() == nullptr) {
    // The watch needs a running event loop: the program's starts after the window is made.
    CallAfter(&TForm1::StartFollowing);
    return;
  }
  const std::filesystem::path catalogue_folder =
      std::filesystem::absolute(NativeOfFsPath(options_.catalogue_file)).parent_path();
  home_watch_ = std::make_unique<HomeWatch>(std::vector<std::filesystem::path>{catalogue_folder, data_folder_native_},
                                            [this] { FollowOutsideChanges(); });
  home_watch_->Start();
}

void TForm1::FollowOutsideChanges() {
  // A dialog, a label editor or a command running its own event loop holds
  // nodes and texts of the catalogue as it was: the change waits for them.
  const wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  if (following_ || !IsEnabled() || TreeView1->GetEditControl() != nullptr || (loop && loop->IsYielding())) {
    if (home_watch_) home_watch_->Retry();
    return;
  }
  following_ = true;
  // The window's own saves leave the file as the document knows it.
  if (!catalogue_.IsCurrentOnDisk() && ReadsAsCatalogue(options_.catalogue_file)) {
    catalogue_writable_ = catalogue_.Open(options_.catalogue_file);
    ShowReloadedCatalogue();
  }
  const ContentViewState& state = content_state_;
  if (!state.loaded_disc_name.empty() &&
      StampOfFile(SnapshotFileOf(data_folder_, state.loaded_disc_name)) != state.loaded_snapshot_stamp)
    ReloadShownSnapshot();
  following_ = false;
}

void TForm1::ShowReloadedCatalogue() {
  // Without a document nothing is edited this run; the trees keep what they show.
  if (!catalogue_.Root()) return;
  CategoryTreeCtrl* active = contentview::ActiveTree(*this);
  const wxTreeItemId shown_before = SelectedNode(*active);
  SyncTreeWithCatalogue(TreeView1);
  SyncTreeWithCatalogue(TreeView2);
  const wxTreeItemId shown = SelectedNode(*active);
  // A disc's page may have changed with the catalogue; a moved selection shows its new node.
  if (!shown.IsOk()) {
    ContentListCtrl::Quiet quiet(*ListView1);
    ListView1->Model().Clear();
    ListView1->RefreshFromModel();
  } else if (shown != shown_before || contentview::KindOf(*active, shown) == ShownNodeKind::Disc) {
    contentview::ShowActiveSelection(*this, browse_);
  }
  if (!current_category_node_.IsOk() || !current_disc_node_.IsOk()) contentview::SyncCurrentNodes(*this, browse_);
  UpdateFirstStartHint();
}

void TForm1::SyncTreeWithCatalogue(CategoryTreeCtrl* tree) {
  // The catalogue as a fresh fill shows it, in a tree nobody sees.
  auto* model = new CategoryTreeCtrl(this, wxID_ANY);
  model->Hide();
  model->EnsureRoot();
  if (tree == TreeView1)
    FillCategoryTree(*model, catalogue_, FillMode::kCategories);
  else
    FillDiscTree(*model, catalogue_);

  tree->Freeze();
  // Selections made here are no visits and show nothing until the end.
  AttachTreeHandlers(tree, false, tree == TreeView1);
  TreeSyncHooks hooks;
  hooks.before_delete = [this, tree](const wxTreeItemId& parent, const wxTreeItemId& node) {
    if (IsAtOrBelow(*tree, SelectedNode(*tree), node)) {
      if (parent.IsOk() && parent != tree->GetRootItem())
        tree->SelectItem(parent);
      else
        tree->Unselect();
    }
    ForgetNode(node);
  };
  SyncTree(*tree, *model, hooks);
  AttachTreeHandlers(tree, true, tree == TreeView1);
  tree->Thaw();
  tree->Refresh();
  model->Destroy();
}

void TForm1::ReloadShownSnapshot() {
  ContentViewState& state = content_state_;
  const std::string disc = state.loaded_disc_name;
  state.loaded_disc_name.clear();
  state.loaded_node_path.clear();
  state.loaded_snapshot_stamp.reset();
  if (index_.Count() > 0) index_.Clear();

  // The folder nodes of the disc came from the old snapshot: they go, and
  // the selection below them waits on the disc node.
  CategoryTreeCtrl* active = contentview::ActiveTree(*this);
  std::vector<std::string> shown_below;  // texts from the disc's child down to the selected node
  wxTreeItemId shown_disc;
  for (CategoryTreeCtrl* tree : {TreeView1, TreeView2}) {
    std::vector<wxTreeItemId> discs;
    ForEachBelow(*tree, tree->GetRootItem(), [&](wxTreeItemId node) {
      if (tree->GetItemImage(node) == kDiscImage && NodeText(*tree, node) == disc) discs.push_back(node);
    });
    AttachTreeHandlers(tree, false, tree == TreeView1);
    for (const wxTreeItemId& node : discs) {
      const wxTreeItemId selected = SelectedNode(*tree);
      if (contentview::IsBelow(*tree, selected, node)) {
        if (tree == active) {
          shown_disc = node;
          for (wxTreeItemId up = selected; up.IsOk() && up != node; up = ParentNode(*tree, up))
            shown_below.insert(shown_below.begin(), NodeText(*tree, up));
        }
        tree->SelectItem(node);
      }
      wxTreeItemIdValue cookie;
      for (wxTreeItemId c = tree->GetFirstChild(node, cookie); c.IsOk(); c = tree->GetNextChild(node, cookie))
        ForgetNode(c);
      tree->Collapse(node);
      tree->DeleteChildren(node);
    }
    AttachTreeHandlers(tree, true, tree == TreeView1);
  }
  // The disc (or the node left) is shown again, which reads the new snapshot
  // and grows the disc's first levels; then the folder shown before, if the
  // new snapshot still has it, is opened and selected again.
  contentview::ShowActiveSelection(*this, browse_);
  if (!shown_disc.IsOk() || shown_below.empty()) return;
  wxTreeItemId node = shown_disc;
  for (const std::string& text : shown_below) {
    if (!active->IsExpanded(node)) active->Expand(node);
    wxTreeItemIdValue cookie;
    node = FindSiblingByText(*active, active->GetFirstChild(node, cookie), text);
    if (!node.IsOk()) return;
  }
  const int tab = active == TreeView1 ? 0 : 1;
  ++browse_.historyQuiet[tab];
  active->SelectItem(node);
  --browse_.historyQuiet[tab];
}

}  // namespace movra
