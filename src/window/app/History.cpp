// Navigation history in the window: recording the node left on each change
// of selection, going back and forward by button, key or drop-down menu item,
// the menus of the active tab, and forgetting nodes that are deleted.
#include <functional>

#include "window/app/ContentViewParts.h"
#include "window/controls/CategoryTrees.h"
#include "window/controls/WxText.h"

namespace movra {
namespace {

NodeId IdOf(const wxTreeItemId& node) { return reinterpret_cast<NodeId>(node.GetID()); }

// A history entry for a node: the node and its text as it is now; none for no node.
std::optional<HistoryEntry> EntryOf(const wxTreeCtrl& tree, const wxTreeItemId& node) {
  if (!node.IsOk()) return std::nullopt;
  return HistoryEntry{IdOf(node), NodeText(tree, node)};
}

// Calls visit for node and every node below it.
void ForEachBelow(const wxTreeCtrl& tree, const wxTreeItemId& node, const std::function<void(wxTreeItemId)>& visit) {
  visit(node);
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(node, cookie); child.IsOk(); child = tree.GetNextChild(node, cookie))
    ForEachBelow(tree, child, visit);
}

// The node of tree whose id is id; invalid when the tree holds no such node.
wxTreeItemId FindNodeById(const wxTreeCtrl& tree, NodeId id) {
  wxTreeItemId found;
  const wxTreeItemId root = tree.GetRootItem();
  if (!root.IsOk()) return found;
  ForEachBelow(tree, root, [&](wxTreeItemId node) {
    if (!found.IsOk() && IdOf(node) == id && node != root) found = node;
  });
  return found;
}

// A menu caption shows the node text as it is: no '&' becomes a mnemonic.
wxString MenuCaption(const std::string& gbk) {
  wxString caption = GbkToWx(gbk);
  caption.Replace("&", "&&");
  return caption;
}

// Position of the item with this id in the menu, or -1.
int PositionOf(const wxMenu& menu, int id) {
  int position = 0;
  for (const wxMenuItem* item : menu.GetMenuItems()) {
    if (item->GetId() == id) return position;
    ++position;
  }
  return -1;
}

void FillMenu(wxMenu* menu, const std::vector<std::string>& captions) {
  while (menu->GetMenuItemCount() > 0) menu->Destroy(menu->FindItemByPosition(0));
  for (const std::string& caption : captions) menu->Append(wxID_ANY, MenuCaption(caption));
}

// 0 for the category tree, 1 for the disc tree.
int TreeIndex(const TForm1& form, const wxTreeCtrl* tree) { return tree == form.TreeView1 ? 0 : 1; }

// Keeps a tree's selection changes from being recorded while it lives.
class QuietHistory {
 public:
  QuietHistory(BrowseState& state, int tree) : count_(state.historyQuiet[tree]) { ++count_; }
  ~QuietHistory() { --count_; }
  QuietHistory(const QuietHistory&) = delete;
  QuietHistory& operator=(const QuietHistory&) = delete;

 private:
  int& count_;
};

}  // namespace

namespace history {

// Sets both buttons from the menus of the active tab.
void UpdateButtons(TForm1& form, const BrowseState& state) {
  form.ToolBar1->EnableTool(form.ToolButton1->GetId(), state.history.BackEnabled());
  form.ToolBar1->EnableTool(form.ToolButton13->GetId(), state.history.ForwardEnabled());
}

// Shows the active tab's lists in both drop-down menus.
void FillMenus(TForm1& form, BrowseState& state) {
  if (!state.historyMenusBound) {
    state.historyMenusBound = true;
    // The click is handled once the menu has closed: handling it rebuilds the menu.
    form.PopupMenu3->Bind(wxEVT_MENU, [&form](wxCommandEvent& e) {
      const int position = PositionOf(*form.PopupMenu3, e.GetId());
      if (position >= 0) form.CallAfter([&form, position] { form.BackItemClick(position); });
    });
    form.PopupMenu4->Bind(wxEVT_MENU, [&form](wxCommandEvent& e) {
      const int position = PositionOf(*form.PopupMenu4, e.GetId());
      if (position >= 0) form.CallAfter([&form, position] { form.ForwardItemClick(position); });
    });
  }
  FillMenu(form.PopupMenu3, state.history.BackMenu());
  FillMenu(form.PopupMenu4, state.history.ForwardMenu());
}

// One step back or forward in the active tab: to the front entry, or to the
// entry at a menu position. The selection it makes is not a visit.
void Step(TForm1& form, BrowseState& state, bool back, std::optional<std::size_t> position) {
  const int tab = form.PageControl1->GetSelection() == 0 ? 0 : 1;
  CategoryTreeCtrl* tree = tab == 0 ? form.TreeView1 : form.TreeView2;
  {
    QuietHistory quiet(state, tab);
    const wxTreeItemId current = tab == 0 ? form.CurrentCategoryNode() : form.CurrentDiscNode();
    if (current.IsOk()) {
      const std::optional<HistoryEntry> here = EntryOf(*tree, current);
      NavigationHistory& history = state.history;
      std::optional<HistoryEntry> target;
      if (back)
        target = position ? history.GoBackTo(*position, here) : history.GoBack(here);
      else
        target = position ? history.GoForwardTo(*position, here) : history.GoForward(here);
      FillMenus(form, state);
      // Entries of deleted nodes are removed as the nodes go; a node that is
      // gone all the same is never selected.
      const wxTreeItemId node = target ? FindNodeById(*tree, target->node) : wxTreeItemId();
      if (node.IsOk()) {
        tree->SelectItem(node);
        if (tree->IsShownOnScreen()) tree->SetFocus();
      }
    }
    contentview::SyncCurrentNodes(form, state);
  }
  UpdateButtons(form, state);
}

}  // namespace history

void TForm1::TreeView1Changing(wxTreeEvent& event) {
  auto* tree = static_cast<CategoryTreeCtrl*>(event.GetEventObject());
  const wxTreeItemId node = event.GetItem();
  // The hidden root, which the tree selects by itself after a refill, is no node.
  if (!node.IsOk() || node == tree->GetRootItem() || ContentState().expanding) return;
  const int reporting = TreeIndex(*this, tree);
  if (browse_.historyQuiet[reporting] > 0) return;
  // A tree without a selection (at start-up, after a refresh, after its
  // selected node was deleted) leaves no node: nothing can be recorded, and
  // making up a selection first would record a node nobody visited.
  const bool leaving = SelectedNode(*tree).IsOk();
  {
    QuietHistory quiet_categories(browse_, 0);
    QuietHistory quiet_discs(browse_, 1);
    if (leaving) contentview::SyncCurrentNodes(*this, browse_);  // the selections are still those being left
    // Without a selection the reporting tree's current node may be one that is gone.
    const std::optional<HistoryEntry> category =
        leaving || reporting != 0 ? EntryOf(*TreeView1, current_category_node_) : std::nullopt;
    const std::optional<HistoryEntry> disc =
        leaving || reporting != 1 ? EntryOf(*TreeView2, current_disc_node_) : std::nullopt;
    const VisitResult result = browse_.history.RecordVisit(reporting, category, disc);
    if (result == VisitResult::NotRecorded) return;
    if (result == VisitResult::Recorded) {
      history::FillMenus(*this, browse_);
      // The tree goes on to select node itself once this handler returns.
      if (tree->IsShownOnScreen()) tree->SetFocus();
    }
    if (leaving) contentview::SyncCurrentNodes(*this, browse_);
  }
  history::UpdateButtons(*this, browse_);
}

void TForm1::GoBack() {
  if (ToolBar1->GetToolEnabled(ToolButton1->GetId())) history::Step(*this, browse_, true, std::nullopt);
}

void TForm1::GoForward() {
  if (ToolBar1->GetToolEnabled(ToolButton13->GetId())) history::Step(*this, browse_, false, std::nullopt);
}

void TForm1::ToolButton1Click() { GoBack(); }

void TForm1::ToolButton13Click() { GoForward(); }

void TForm1::BackItemClick(int position) {
  if (position >= 0) history::Step(*this, browse_, true, static_cast<std::size_t>(position));
}

void TForm1::ForwardItemClick(int position) {
  if (position >= 0) history::Step(*this, browse_, false, static_cast<std::size_t>(position));
}

void TForm1::PageControl1Change(wxBookCtrlEvent& event) {
  event.Skip();
  contentview::SyncCurrentNodes(*this, browse_);
  browse_.history.TabChanged(event.GetSelection() == 0 ? 0 : 1);
  history::FillMenus(*this, browse_);
  history::UpdateButtons(*this, browse_);
  // The list follows the tab: it shows what the newly shown tree has selected.
  contentview::ShowActiveSelection(*this, browse_);
}

void TForm1::ForgetNode(wxTreeItemId node) {
  if (!node.IsOk()) return;
  const wxTreeCtrl* tree = FindNodeById(*TreeView1, IdOf(node)).IsOk() ? TreeView1 : TreeView2;
  ContentViewState& state = ContentState();
  ForEachBelow(*tree, node, [&](wxTreeItemId below) {
    browse_.history.RemoveNode(IdOf(below));
    // The commands never act on a node that is gone.
    if (below == current_category_node_) current_category_node_ = wxTreeItemId();
    if (below == current_disc_node_) current_disc_node_ = wxTreeItemId();
    // A disc that goes may come back under the same name with another
    // snapshot: the next visit must read the file again.
    if (tree->GetItemImage(below) == kDiscImage && NodeText(*tree, below) == state.loaded_disc_name) {
      state.loaded_disc_name.clear();
      state.loaded_node_path.clear();
    }
  });
  history::FillMenus(*this, browse_);
  history::UpdateButtons(*this, browse_);
}

}  // namespace movra
