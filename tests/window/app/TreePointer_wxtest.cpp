// Pointer handling of the trees, their current nodes and the category context menu.
#include <gtest/gtest.h>

#include "window/controls/CategoryTrees.h"
#include "support/MainWindowFixture.h"

namespace movra {
namespace {

using test::Gbk;

const char* const kCatalogue =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>"
    "<T_电影> <T_动作> <D_DVD_01><Title>DVD_01</Title></D_DVD_01></T_动作></T_电影>"
    "<T_apps> </T_apps><T_Backup> <D_盘><Title>盘</Title></D_盘></T_Backup></CDLIST></root>";

class TreePointerTest : public test::MainWindowFixture {
 protected:
  TForm1& Start() {
    WriteCatalogue(Gbk(kCatalogue));
    TForm1& form = StartForm();
    form.PageControl1->SetSelection(1);  // lay out the disc tree as well
    form.PageControl1->SetSelection(0);
    Flush();
    return form;
  }

  // Sends a mouse button event to a tree at a client point, as the toolkit does.
  static void Press(wxTreeCtrl* tree, wxEventType type, const wxPoint& point) {
    wxMouseEvent event(type);
    event.SetEventObject(tree);
    event.SetId(tree->GetId());
    event.SetPosition(point);
    event.m_leftDown = type == wxEVT_LEFT_DOWN;
    event.m_rightDown = type == wxEVT_RIGHT_DOWN;
    tree->GetEventHandler()->ProcessEvent(event);
  }
  // The middle of a node's row.
  static wxPoint At(wxTreeCtrl* tree, const wxTreeItemId& item) {
    wxRect rect;
    EXPECT_TRUE(tree->GetBoundingRect(item, rect, true));
    return rect.GetPosition() + wxPoint(rect.width / 2, rect.height / 2);
  }
  // A point below the last row.
  static wxPoint Empty(wxTreeCtrl* tree) { return wxPoint(20, tree->GetClientSize().y - 4); }
  // A point right of the text of a node's row (still on that row).
  static wxPoint RightOf(wxTreeCtrl* tree, const wxTreeItemId& item) {
    wxRect rect;
    EXPECT_TRUE(tree->GetBoundingRect(item, rect, true));
    return wxPoint(rect.GetRight() + 20, rect.y + rect.height / 2);
  }
};

TEST_F(TreePointerTest, LeftPressMakesTheNodeUnderThePointerCurrent) {
  TForm1& form = Start();
  const wxTreeItemId film = FindNodeByPath(*form.TreeView1, Gbk("电影\\"));
  Press(form.TreeView1, wxEVT_LEFT_DOWN, At(form.TreeView1, film));
  Press(form.TreeView1, wxEVT_LEFT_UP, At(form.TreeView1, film));
  EXPECT_EQ(form.CurrentCategoryNode(), film);
  EXPECT_EQ(SelectedNode(*form.TreeView1), film);
  // Anywhere on the row counts as the node.
  const wxTreeItemId apps = FindNodeByPath(*form.TreeView1, "apps\\");
  Press(form.TreeView1, wxEVT_LEFT_DOWN, RightOf(form.TreeView1, apps));
  EXPECT_EQ(form.CurrentCategoryNode(), apps);
  Press(form.TreeView1, wxEVT_LEFT_UP, RightOf(form.TreeView1, apps));
  // Empty space: no current node, while the selection stays.
  const wxTreeItemId selected = SelectedNode(*form.TreeView1);
  Press(form.TreeView1, wxEVT_LEFT_DOWN, Empty(form.TreeView1));
  Press(form.TreeView1, wxEVT_LEFT_UP, Empty(form.TreeView1));
  EXPECT_FALSE(form.CurrentCategoryNode().IsOk());
  EXPECT_EQ(SelectedNode(*form.TreeView1), selected);
  EXPECT_TRUE(Popups().empty());
}

TEST_F(TreePointerTest, LeftPressInTheDiscTreeSetsOnlyTheCurrentDiscNode) {
  TForm1& form = Start();
  form.PageControl1->SetSelection(1);
  Flush();
  const wxTreeItemId category = form.CurrentCategoryNode();
  const wxTreeItemId last = form.TreeView2->GetLastChild(form.TreeView2->GetRootItem());
  Press(form.TreeView2, wxEVT_LEFT_DOWN, At(form.TreeView2, last));
  Press(form.TreeView2, wxEVT_LEFT_UP, At(form.TreeView2, last));
  EXPECT_EQ(form.CurrentDiscNode(), last);
  EXPECT_EQ(form.CurrentCategoryNode(), category);
}

TEST_F(TreePointerTest, RightPressOnANodeSelectsItAndOpensTheMenuBelowThePointer) {
  TForm1& form = Start();
  const wxTreeItemId backup = FindNodeByPath(*form.TreeView1, "Backup\\");
  const wxPoint point = At(form.TreeView1, backup);
  Press(form.TreeView1, wxEVT_RIGHT_DOWN, point);
  EXPECT_EQ(form.CurrentCategoryNode(), backup);
  EXPECT_EQ(SelectedNode(*form.TreeView1), backup);
  ASSERT_EQ(Popups().size(), 1u);
  EXPECT_EQ(Popups()[0].menu, form.PopupMenu1);
  const wxPoint window = form.GetPosition();
  EXPECT_EQ(Popups()[0].screen, wxPoint(point.x + window.x, point.y + window.y + 100));
  for (wxMenuItem* item : {form.N14, form.N15, form.N12, form.G1, form.N9, form.N19, form.M1, form.R2, form.N7, form.N8}) {
    EXPECT_TRUE(item->IsEnabled()) << item->GetItemLabel().utf8_string();
  }
  // Releasing the button over another node makes that one current.
  const wxTreeItemId apps = FindNodeByPath(*form.TreeView1, "apps\\");
  Press(form.TreeView1, wxEVT_RIGHT_UP, At(form.TreeView1, apps));
  EXPECT_EQ(form.CurrentCategoryNode(), apps);
}

TEST_F(TreePointerTest, RightPressOnEmptySpaceDisablesTheNodeCommands) {
  TForm1& form = Start();
  Press(form.TreeView1, wxEVT_RIGHT_DOWN, Empty(form.TreeView1));
  EXPECT_FALSE(form.CurrentCategoryNode().IsOk());
  ASSERT_EQ(Popups().size(), 1u);
  for (wxMenuItem* item : {form.N14, form.N15, form.N12, form.N9, form.N19, form.M1, form.R2}) {
    EXPECT_FALSE(item->IsEnabled()) << item->GetItemLabel().utf8_string();
  }
  for (wxMenuItem* item : {form.G1, form.N7, form.N8}) EXPECT_TRUE(item->IsEnabled());
  // A later press on a node enables them again.
  Press(form.TreeView1, wxEVT_RIGHT_DOWN, At(form.TreeView1, FirstTopNode(*form.TreeView1)));
  EXPECT_TRUE(form.N19->IsEnabled());
}

TEST_F(TreePointerTest, RightPressOnTheDiscTreeOpensNoMenuButReleaseSetsTheCurrentNode) {
  TForm1& form = Start();
  form.PageControl1->SetSelection(1);
  Flush();
  const wxTreeItemId first = FirstTopNode(*form.TreeView2);
  ASSERT_EQ(SelectedNode(*form.TreeView2), first);
  Press(form.TreeView2, wxEVT_LEFT_DOWN, Empty(form.TreeView2));
  Press(form.TreeView2, wxEVT_LEFT_UP, Empty(form.TreeView2));
  ASSERT_FALSE(form.CurrentDiscNode().IsOk());
  // On the selected node, so that no selection change intervenes.
  Press(form.TreeView2, wxEVT_RIGHT_DOWN, At(form.TreeView2, first));
  EXPECT_TRUE(Popups().empty());
  EXPECT_FALSE(form.CurrentDiscNode().IsOk());
  Press(form.TreeView2, wxEVT_RIGHT_UP, At(form.TreeView2, first));
  EXPECT_EQ(form.CurrentDiscNode(), first);
}

TEST_F(TreePointerTest, SyncSelectsTheTopmostVisibleNodeAndLeavesAnEmptyTreeWithoutOne) {
  WriteCatalogue(Gbk("<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST><T_A> </T_A><T_B> </T_B>"
                     "</CDLIST></root>"));
  TForm1& form = StartForm();
  EXPECT_EQ(form.CurrentCategoryNode(), FirstTopNode(*form.TreeView1));
  EXPECT_FALSE(form.CurrentDiscNode().IsOk());
  // After a refresh nothing is current until a synchronisation.
  form.N57Click();
  EXPECT_FALSE(form.CurrentCategoryNode().IsOk());
  EXPECT_FALSE(SelectedNode(*form.TreeView1).IsOk());
  form.SyncCurrentNodes();
  EXPECT_EQ(SelectedNode(*form.TreeView1), FirstTopNode(*form.TreeView1));
  EXPECT_EQ(form.CurrentCategoryNode(), FirstTopNode(*form.TreeView1));
  EXPECT_FALSE(form.CurrentDiscNode().IsOk());
  // A selected node is kept.
  const wxTreeItemId b = form.TreeView1->GetLastChild(form.TreeView1->GetRootItem());
  form.TreeView1->SelectItem(b);
  form.CurrentCategoryNode() = wxTreeItemId();
  form.SyncCurrentNodes();
  EXPECT_EQ(form.CurrentCategoryNode(), b);
}

TEST_F(TreePointerTest, SyncPicksTheFirstNodeOnScreenWhenTheTreeIsScrolled) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>";
  for (int i = 100; i < 200; ++i) xml += "<T_n" + std::to_string(i) + "> </T_n" + std::to_string(i) + ">";
  WriteCatalogue(xml + "</CDLIST></root>");
  TForm1& form = StartForm();
  form.N57Click();
  const wxTreeItemId last = form.TreeView1->GetLastChild(form.TreeView1->GetRootItem());
  form.TreeView1->ScrollTo(last);
  Flush();
  form.SyncCurrentNodes();
  const wxTreeItemId current = form.CurrentCategoryNode();
  ASSERT_TRUE(current.IsOk());
  EXPECT_NE(current, FirstTopNode(*form.TreeView1));
  // It is the row at the top of the view.
  wxRect rect;
  ASSERT_TRUE(form.TreeView1->GetBoundingRect(current, rect));
  EXPECT_LT(rect.y, rect.height);
  EXPECT_GT(rect.GetBottom(), 0);
}

}  // namespace
}  // namespace movra
