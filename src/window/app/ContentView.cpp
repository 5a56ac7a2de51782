// The content view: what the content list shows for the node selected or
// expanded in either tree, the view style that goes with it, entering a
// folder by double click, and the object count and total in the status bar.
#include "window/app/ContentViewParts.h"

#include "browse/ContentNodes.h"
#include "window/controls/CategoryTrees.h"
#include "window/dialogs/MessageBox.h"
#include "window/controls/WxText.h"

namespace movra {
namespace contentview {
namespace {

// 视图内容有错误！: a folder row without a folder node of the same name.
constexpr std::string_view kViewContentWrong = "\xCA\xD3\xCD\xBC\xC4\xDA\xC8\xDD\xD3\xD0\xB4\xED\xCE\xF3\xA3\xA1";

wxToolBarToolBase* ButtonOf(TForm1& form, ListViewStyle style) {
  switch (style) {
    case ListViewStyle::LargeIcons: return form.ToolButton2;
    case ListViewStyle::SmallIcons: return form.ToolButton3;
    case ListViewStyle::List: return form.ToolButton4;
    case ListViewStyle::Details: return form.ToolButton5;
  }
  return form.ToolButton5;
}

wxMenuItem* MenuItemOf(TForm1& form, ListViewStyle style) {
  switch (style) {
    case ListViewStyle::LargeIcons: return form.N52;
    case ListViewStyle::SmallIcons: return form.N53;
    case ListViewStyle::List: return form.L1;
    case ListViewStyle::Details: return form.D1;
  }
  return form.D1;
}

constexpr ListViewStyle kStyles[] = {ListViewStyle::LargeIcons, ListViewStyle::SmallIcons, ListViewStyle::List,
                                     ListViewStyle::Details};

// The view-style command of a style (the handlers of the four view buttons).
void RunStyleCommand(TForm1& form, ListViewStyle style) {
  switch (style) {
    case ListViewStyle::LargeIcons: form.ToolButton2Click(); break;
    case ListViewStyle::SmallIcons: form.ToolButton3Click(); break;
    case ListViewStyle::List: form.ToolButton4Click(); break;
    case ListViewStyle::Details: form.ToolButton5Click(); break;
  }
}

// Enables or disables the style buttons other than details, the style items
// of the View menu and its arrange submenu.
void EnableStyleChoice(TForm1& form, bool enable) {
  for (wxToolBarToolBase* tool : {form.ToolButton2, form.ToolButton3, form.ToolButton4})
    form.ToolBar1->EnableTool(tool->GetId(), enable);
  for (wxMenuItem* item : {form.N52, form.N53, form.L1, form.D1, form.N54}) item->Enable(enable);
}

// Categories and discs are always shown in details; the user's style is kept
// for the next folder.
void ForceDetailsStyle(TForm1& form) {
  ContentViewState& state = form.ContentState();
  if (!state.style_remembered) {
    state.remembered_style = form.ListView1->ViewStyle();
    state.style_remembered = true;
  }
  EnableStyleChoice(form, false);
  form.ToolBar1->EnableTool(form.ToolButton5->GetId(), true);
  form.ToolBar1->ToggleTool(form.ToolButton5->GetId(), true);
  form.ToolButton5Click();
}

// Folders come back in the user's style with every style choice enabled.
void RestoreViewStyle(TForm1& form) {
  ContentViewState& state = form.ContentState();
  state.style_remembered = false;
  EnableStyleChoice(form, true);
  form.ToolBar1->EnableTool(form.ToolButton5->GetId(), true);
  RunStyleCommand(form, state.remembered_style);
}

void ClearList(TForm1& form) {
  ContentListCtrl::Quiet quiet(*form.ListView1);
  form.ListView1->Model().Clear();
  form.ListView1->RefreshFromModel();
}

// Runs on a change of selection and, through the expansion handler, on an
// expansion; decides by the node's kind what the content list shows.
void Dispatch(TForm1& form, BrowseState& browse, CategoryTreeCtrl* tree, const wxTreeItemId& node) {
  ContentViewState& state = form.ContentState();
  if (state.expanding && state.double_clicked) {
    // Entering a folder expanded its parent: that expansion is not shown.
    state.double_clicked = false;
    return;
  }
  state.expanding = false;
  // A tree left without a selection gets one while the current nodes are
  // brought up to date; in the inactive tab that is no visit to show.
  if (browse.syncDepth > 0 && tree != ActiveTree(form)) return;
  const ShownNodeKind kind = KindOf(*tree, node);
  if (kind == ShownNodeKind::None || kind == ShownNodeKind::Other) return;  // also the hidden root
  SyncCurrentNodes(form, browse);
  switch (kind) {
    case ShownNodeKind::Category:
      ForceDetailsStyle(form);
      ClearList(form);
      ClearStatus(form);
      break;
    case ShownNodeKind::Disc:
      ForceDetailsStyle(form);
      ShowDisc(form, tree, node);
      break;
    case ShownNodeKind::RootFolder:
      RestoreViewStyle(form);
      ListRootFolder(form, tree, node);
      break;
    case ShownNodeKind::Folder:
      RestoreViewStyle(form);
      ListFolder(form, tree, node);
      break;
    default:
      break;
  }
  tree->Refresh();
}

// A view-style command: the list's style, the remembered style unless details
// is forced, the pressed button and the checked View-menu item.
void ApplyViewStyle(TForm1& form, ListViewStyle style) {
  form.ListView1->SetViewStyle(style);
  ContentViewState& state = form.ContentState();
  if (!state.style_remembered) state.remembered_style = style;
  form.ToolBar1->ToggleTool(ButtonOf(form, style)->GetId(), true);
  for (ListViewStyle s : kStyles) MenuItemOf(form, s)->Check(s == style);
}

// An expanded node that is not the selected one grows its nodes; the content
// list stays on the selected node.
void Grow(TForm1& form, CategoryTreeCtrl* tree, const wxTreeItemId& node) {
  switch (KindOf(*tree, node)) {
    case ShownNodeKind::Disc: ShowDisc(form, tree, node, false); break;
    case ShownNodeKind::RootFolder: ListRootFolder(form, tree, node, false); break;
    case ShownNodeKind::Folder: ListFolder(form, tree, node); break;
    default: break;
  }
}

}  // namespace

void ShowActiveSelection(TForm1& form, BrowseState& browse) {
  CategoryTreeCtrl* tree = ActiveTree(form);
  const wxTreeItemId node = SelectedNode(*tree);
  if (node.IsOk()) Dispatch(form, browse, tree, node);
}

bool IsBelow(const wxTreeCtrl& tree, const wxTreeItemId& node, const wxTreeItemId& ancestor) {
  if (!node.IsOk() || !ancestor.IsOk()) return false;
  for (wxTreeItemId up = ParentNode(tree, node); up.IsOk(); up = ParentNode(tree, up))
    if (up == ancestor) return true;
  return false;
}

CategoryTreeCtrl* ActiveTree(TForm1& form) {
  return form.PageControl1->GetSelection() == 0 ? form.TreeView1 : form.TreeView2;
}

void SyncCurrentNodes(TForm1& form, BrowseState& state) {
  ++state.syncDepth;
  form.SyncCurrentNodes();
  --state.syncDepth;
}

ShownNodeKind KindOf(const wxTreeCtrl& tree, const wxTreeItemId& node) {
  if (!node.IsOk()) return ShownNodeKind::None;
  return NodeKindOfImage(tree.GetItemImage(node));
}

ShownNodeKind SelectedKind(TForm1& form) {
  const CategoryTreeCtrl* tree = ActiveTree(form);
  return KindOf(*tree, SelectedNode(*tree));
}

void UpdateStatus(TForm1& form) {
  const std::optional<StatusTexts> texts = ComputeStatus(form.ListView1->Model(), SelectedKind(form));
  if (!texts) return;
  form.SetStatusPanel(0, GbkToWx(texts->count));
  form.SetStatusPanel(1, GbkToWx(texts->total));
}

void ClearStatus(TForm1& form) {
  form.SetStatusPanel(0, wxString());
  form.SetStatusPanel(1, wxString());
}

}  // namespace contentview

using namespace contentview;

void TForm1::TreeView1Change(wxTreeEvent& event) {
  Dispatch(*this, browse_, static_cast<CategoryTreeCtrl*>(event.GetEventObject()), event.GetItem());
}

void TForm1::TreeView1Expanding(wxTreeEvent& event) {
  // The expansion always goes ahead. The selected node is shown again as for
  // a selection; any other node only grows, so the list keeps showing what is selected.
  auto* tree = static_cast<CategoryTreeCtrl*>(event.GetEventObject());
  const wxTreeItemId node = event.GetItem();
  ContentViewState& state = ContentState();
  state.expanding = true;
  if (state.double_clicked || SelectedNode(*tree) == node) {
    Dispatch(*this, browse_, tree, node);
    return;
  }
  Grow(*this, tree, node);
  state.expanding = false;
}

void TForm1::TreeView1Collapsing(wxTreeEvent& event) {
  // The tree would drop a hidden selection and pick the collapsing node later
  // with nothing to leave; selecting it now records the node being left.
  auto* tree = static_cast<CategoryTreeCtrl*>(event.GetEventObject());
  if (IsBelow(*tree, SelectedNode(*tree), event.GetItem())) tree->SelectItem(event.GetItem());
}

void TForm1::ListView1Change(wxCommandEvent& event) {
  event.Skip();  // others may follow the selection too
  UpdateStatus(*this);
}

void TForm1::ListView1DblClick(wxCommandEvent&) {
  const ListModel& model = ListView1->Model();
  const std::optional<std::size_t> first = model.FirstSelected();
  if (!first) return;
  const ListRow& row = model.Row(*first);
  CategoryTreeCtrl* tree = ActiveTree(*this);
  const wxTreeItemId selected = SelectedNode(*tree);
  if (row.icon != Icons().FolderIconIndex() || !selected.IsOk() || KindOf(*tree, selected) == ShownNodeKind::Disc)
    return;
  wxTreeItemIdValue cookie;
  const std::string caption = row.caption;  // the row goes when the folder is listed
  const wxTreeItemId child = FindSiblingByText(*tree, tree->GetFirstChild(selected, cookie), caption);
  if (!child.IsOk()) {
    ShowInfoBox(this, kViewContentWrong);
    return;
  }
  // Selecting the child may expand its parent first; that expansion is not shown.
  ContentViewState& state = ContentState();
  state.double_clicked = true;
  tree->SelectItem(child);
  tree->SetFocus();
  // The folder is listed by now. Left set, the flag would swallow the next
  // expansion the user makes, whatever node it is.
  state.double_clicked = false;
}

void TForm1::SelectAllContent() { ListView1->SelectAll(); }

void TForm1::InvertContentSelection() { ListView1->InvertSelection(); }

void TForm1::ToolButton2Click() { ApplyViewStyle(*this, ListViewStyle::LargeIcons); }
void TForm1::ToolButton3Click() { ApplyViewStyle(*this, ListViewStyle::SmallIcons); }
void TForm1::ToolButton4Click() { ApplyViewStyle(*this, ListViewStyle::List); }
void TForm1::ToolButton5Click() { ApplyViewStyle(*this, ListViewStyle::Details); }

}  // namespace movra
