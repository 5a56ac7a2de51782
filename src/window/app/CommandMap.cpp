// The commands that live in the command map itself: the menu forwarders of
// the view styles and of Refresh, select all and invert selection, expanding
// and collapsing the whole category tree, the Edit menu's enabling and the
// content list's context menu.
#include <wx/listctrl.h>

#include "window/app/TForm1.h"

namespace movra {

void TForm1::BindCommandMap() {
  // Bound after the content view's handlers, so this one runs first and passes the event on.
  ListView1->Bind(EVT_CONTENT_SELECTION_CHANGED, &TForm1::ContentSelectionChanged, this);
  // Clicks land on the lists' inner windows, not on the lists themselves.
  for (wxWindow* child : ListView1->GetChildren()) {
    if (wxDynamicCast(child, wxListCtrl) == nullptr) continue;
    for (wxWindow* inner : child->GetChildren()) inner->Bind(wxEVT_LEFT_UP, &TForm1::ContentListClick, this);
  }
}

// ---- View styles and Refresh from the menus and the tool bar ---------------

void TForm1::N52Click() { ToolButton2Click(); }
void TForm1::N53Click() { ToolButton3Click(); }
void TForm1::L1Click() { ToolButton4Click(); }
void TForm1::D1Click() { ToolButton5Click(); }
void TForm1::N20Click() { ToolButton2Click(); }
void TForm1::N21Click() { ToolButton3Click(); }
void TForm1::N22Click() { ToolButton4Click(); }
void TForm1::N23Click() { ToolButton5Click(); }
void TForm1::ToolButton11Click() { N57Click(); }

// ---- Selection in the content list ------------------------------------------

void TForm1::N46Click() { SelectAllContent(); }
void TForm1::I2Click() { InvertContentSelection(); }

// ---- Expanding and collapsing the category tree ------------------------------

void TForm1::N8Click() {
  // Painting waits until every node is open; the tree may grow on the way
  // (visited discs add folder nodes as they expand).
  TreeView1->Freeze();
  TreeView1->ExpandAll();
  TreeView1->Thaw();
  TreeView1->Refresh();
}

void TForm1::N7Click() {
  // The hidden root itself cannot be collapsed: collapse each top-level node with its subtree.
  const wxTreeItemId root = TreeView1->GetRootItem();
  if (!root.IsOk()) return;
  // A selection that would be hidden moves to its top-level node first: one
  // visit is recorded, not one per level.
  wxTreeItemId top = SelectedNode(*TreeView1);
  while (top.IsOk() && ParentNode(*TreeView1, top).IsOk()) top = ParentNode(*TreeView1, top);
  if (top.IsOk() && top != SelectedNode(*TreeView1)) TreeView1->SelectItem(top);
  wxTreeItemIdValue cookie;
  for (wxTreeItemId node = TreeView1->GetFirstChild(root, cookie); node.IsOk();
       node = TreeView1->GetNextChild(root, cookie)) {
    TreeView1->CollapseAllChildren(node);
  }
}

// ---- Enabling of the Edit menu -------------------------------------------------

void TForm1::TreeView1Click(wxMouseEvent& event) {
  event.Skip();  // the tree handles the click as usual
  // The tree selects on the press, so the selection is settled by now.
  N47->Enable(SelectedNode(*TreeView1).IsOk());
}

void TForm1::ContentListClick(wxMouseEvent& event) {
  event.Skip();
  // The list may settle its selection only in its own handling of the
  // release, which comes after this one: look once it is done. A click
  // enables copying but never disables it.
  CallAfter([this] {
    if (ListView1->ActiveList()->GetSelectedItemCount() > 0) N45->Enable(true);
  });
}

void TForm1::ContentSelectionChanged(wxCommandEvent& event) {
  event.Skip();  // the status update runs as well
  N45->Enable(ListView1->Model().SelectedCount() > 0);
}

// ---- Context menu of the content list -------------------------------------------

void TForm1::ListView1ContextMenu(wxContextMenuEvent& event) {
  // The toolkit's list reports one right press twice; the second report
  // arrives in the same dispatch, after the first menu has closed.
  if (content_menu_shown_) return;
  wxPoint screen = event.GetPosition();
  // From the keyboard the toolkit gives no point: open the menu at the list's corner.
  if (screen == wxDefaultPosition) screen = ListView1->ClientToScreen(wxPoint(0, 0));
  content_menu_shown_ = true;
  popup_menu(*PopupMenu2, screen);
  CallAfter([this] { content_menu_shown_ = false; });
}

}  // namespace movra
