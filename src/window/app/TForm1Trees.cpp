// The trees' current nodes, pointer handling and the category context menu.
#include "window/app/TForm1.h"

namespace movra {
namespace {

// The node after item in display order (children only when expanded).
wxTreeItemId NextShown(const wxTreeCtrl& tree, wxTreeItemId item) {
  if (tree.ItemHasChildren(item) && tree.IsExpanded(item)) {
    wxTreeItemIdValue cookie;
    const wxTreeItemId child = tree.GetFirstChild(item, cookie);
    if (child.IsOk()) return child;
  }
  for (; item.IsOk(); item = ParentNode(tree, item)) {
    const wxTreeItemId next = tree.GetNextSibling(item);
    if (next.IsOk()) return next;
  }
  return wxTreeItemId();
}

// The topmost node the tree shows; the first top-level node when none is on
// screen yet (a window that has not been laid out), invalid in an empty tree.
wxTreeItemId TopmostVisibleNode(const wxTreeCtrl& tree) {
  const wxTreeItemId first = FirstTopNode(tree);
  for (wxTreeItemId item = first; item.IsOk(); item = NextShown(tree, item)) {
    if (tree.IsVisible(item)) return item;
  }
  return first;
}

// The node of the row under a client point of the tree, or an invalid id.
wxTreeItemId NodeAt(const wxTreeCtrl& tree, const wxPoint& point) {
  int flags = 0;
  const wxTreeItemId item = tree.HitTest(point, flags);
  if (!item.IsOk() || item == tree.GetRootItem()) return wxTreeItemId();
  return item;
}

}  // namespace

void TForm1::SyncCurrentNodes() {
  for (CategoryTreeCtrl* tree : {TreeView1, TreeView2}) {
    wxTreeItemId node = SelectedNode(*tree);
    if (!node.IsOk()) {
      node = TopmostVisibleNode(*tree);
      if (node.IsOk()) tree->SelectItem(node);
    }
    (tree == TreeView1 ? current_category_node_ : current_disc_node_) = node;
  }
}

void TForm1::TreeView1MouseDown(wxMouseEvent& event) {
  event.Skip();  // the tree selects and focuses as usual
  auto* tree = static_cast<CategoryTreeCtrl*>(event.GetEventObject());
  const wxTreeItemId node = NodeAt(*tree, event.GetPosition());
  if (event.LeftDown()) {
    (tree == TreeView1 ? current_category_node_ : current_disc_node_) = node;
    return;
  }
  if (!event.RightDown() || tree != TreeView1) return;
  current_category_node_ = node;
  // The tree would select the node itself after this handler; the menu's
  // commands (new sub-category) need the selection now.
  if (node.IsOk() && !tree->IsSelected(node)) tree->SelectItem(node);
  ShowCategoryMenu(event.GetPosition());
}

void TForm1::TreeView1MouseUp(wxMouseEvent& event) {
  event.Skip();
  if (!event.RightUp()) return;
  auto* tree = static_cast<CategoryTreeCtrl*>(event.GetEventObject());
  (tree == TreeView1 ? current_category_node_ : current_disc_node_) = NodeAt(*tree, event.GetPosition());
}

void TForm1::ShowCategoryMenu(const wxPoint& tree_point) {
  // The menu opens at the pointer's tree position taken from the window's
  // top-left corner, 100 pixels lower.
  const wxPoint window = GetPosition();
  const wxPoint screen(tree_point.x + window.x, tree_point.y + window.y + 100);
  PopupMenu1Popup();
  popup_menu(*PopupMenu1, screen);
}

void TForm1::PopupMenu1Popup() {
  const bool has_node = current_category_node_.IsOk();
  for (wxMenuItem* item : {N14, N15, N12, N9, N19, M1, R2}) item->Enable(has_node);
  for (wxMenuItem* item : {G1, N7, N8}) item->Enable(true);
  // Only a disc has a snapshot to update.
  U1->Enable(has_node && TreeView1->GetItemImage(current_category_node_) == kDiscImage);
  // A list is made of everything below a category or a disc.
  L3->Enable(has_node && (TreeView1->GetItemImage(current_category_node_) == kCategoryImage ||
                          TreeView1->GetItemImage(current_category_node_) == kDiscImage));
  // Duplicates are looked for below a category.
  D3->Enable(has_node && TreeView1->GetItemImage(current_category_node_) == kCategoryImage);
  // Renaming and new sub-categories act on categories only.
  const int image = has_node ? TreeView1->GetItemImage(current_category_node_) : -1;
  if (has_node && image != kCategoryImage) {
    M1->Enable(false);
    N9->Enable(false);
  }
}

}  // namespace movra
