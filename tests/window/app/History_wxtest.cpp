// Navigation history in the real window: visits recorded per tab, back and
// forward by button, key and menu item, the drop-down menus, refresh, and
// nodes that are deleted.
#include <gtest/gtest.h>

#include "support/BrowseSupport.h"

namespace movra {
namespace {

using test::Gbk;
using test::NodeAt;
using test::WriteTestSnapshot;

// Categories A to D and N01 to N13 (top level, in that order); discs X (in A) and Y (in B).
std::string Catalogue(bool with_discs) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>";
  xml += with_discs ? "<T_A><D_X><Title>X</Title></D_X></T_A><T_B><D_Y><Title>Y</Title></D_Y></T_B>"
                    : "<T_A/><T_B/>";
  xml += "<T_C/><T_D/>";
  for (int i = 1; i <= 13; ++i) xml += "<T_N" + std::string(i < 10 ? "0" : "") + std::to_string(i) + "/>";
  return xml + "</CDLIST></root>";
}

class HistoryTest : public test::BrowseFixture {
 protected:
  TForm1& Start(bool with_discs = true) {
    WriteCatalogue(Catalogue(with_discs));
    WriteTestSnapshot(ProgramFolder(), "X", {{"E:\\", "F", -1}, {"E:\\F\\", "f.txt", 1}});
    WriteTestSnapshot(ProgramFolder(), "Y", {{"E:\\", "G", -1}});
    TForm1& form = StartForm();
    EXPECT_EQ(SelectedNode(*form.TreeView1), Top("A"));
    return form;
  }
  wxTreeItemId Top(const char* text) { return NodeAt(*Form().TreeView1, {text}); }
  void Visit(const char* text) { Select(*Form().TreeView1, Top(text)); }
  // A menu's item labels, top first, joined by blanks.
  static std::string Items(const wxMenu* menu) {
    std::string out;
    for (const wxMenuItem* item : menu->GetMenuItems()) {
      if (!out.empty()) out += ' ';
      out += item->GetItemLabelText().utf8_string();
    }
    return out;
  }
  std::string Back() { return Items(Form().PopupMenu3); }
  std::string Forward() { return Items(Form().PopupMenu4); }
  bool BackEnabled() { return Form().ToolBar1->GetToolEnabled(Form().ToolButton1->GetId()); }
  bool ForwardEnabled() { return Form().ToolBar1->GetToolEnabled(Form().ToolButton13->GetId()); }
  std::string Selected(const wxTreeCtrl& tree) { return GbkToUtf8(NodeText(tree, SelectedNode(tree))); }
};

TEST_F(HistoryTest, VisitsGoBackToAMenuPositionAndForwardRetracesThePath) {
  TForm1& form = Start();
  EXPECT_FALSE(BackEnabled());
  EXPECT_FALSE(ForwardEnabled());
  // Start-up's own selection was the category tree's first change.
  Visit("B");
  Visit("C");
  Visit("D");
  EXPECT_EQ(Back(), "C B A");
  EXPECT_EQ(Forward(), "");
  EXPECT_TRUE(BackEnabled());
  EXPECT_FALSE(ForwardEnabled());

  form.BackItemClick(2);
  Flush();
  EXPECT_EQ(Selected(*form.TreeView1), "A");
  EXPECT_EQ(form.CurrentCategoryNode(), Top("A"));
  EXPECT_EQ(Back(), "");
  EXPECT_EQ(Forward(), "B C D");
  EXPECT_FALSE(BackEnabled());
  EXPECT_TRUE(ForwardEnabled());
  form.GoBack();  // disabled: nothing happens
  EXPECT_EQ(Selected(*form.TreeView1), "A");

  form.GoForward();
  Flush();
  EXPECT_EQ(Selected(*form.TreeView1), "B");
  EXPECT_EQ(Back(), "A");
  EXPECT_EQ(Forward(), "C D");
  form.ForwardItemClick(1);
  Flush();
  EXPECT_EQ(Selected(*form.TreeView1), "D");
  EXPECT_EQ(Back(), "C B A");
  EXPECT_FALSE(ForwardEnabled());

  // A new visit after going back empties the forward list.
  form.ToolButton1Click();
  Flush();
  EXPECT_EQ(Selected(*form.TreeView1), "C");
  EXPECT_EQ(Forward(), "D");
  Visit("N01");
  EXPECT_EQ(Back(), "C B A");
  EXPECT_EQ(Forward(), "");
  EXPECT_FALSE(ForwardEnabled());
}

TEST_F(HistoryTest, BackMenuHoldsNineItemsAfterAVisitAndEightAfterARebuild) {
  TForm1& form = Start();
  const char* const names[] = {"N01", "N02", "N03", "N04", "N05", "N06", "N07",
                               "N08", "N09", "N10", "N11", "N12", "N13"};
  for (const char* name : names) Visit(name);
  EXPECT_EQ(form.PopupMenu3->GetMenuItemCount(), 9u);
  EXPECT_EQ(Back(), "N12 N11 N10 N09 N08 N07 N06 N05 N04");
  form.GoBack();
  Flush();
  EXPECT_EQ(form.PopupMenu3->GetMenuItemCount(), 8u);
  // The list keeps every visit: repeated steps reach the first node.
  for (int i = 0; i < 12; ++i) form.GoBack();
  Flush();
  EXPECT_EQ(Selected(*form.TreeView1), "A");
  EXPECT_FALSE(BackEnabled());
  EXPECT_EQ(form.PopupMenu4->GetMenuItemCount(), 8u);
}

TEST_F(HistoryTest, EachTabHasItsOwnHistoryAndSkipsItsTreesFirstChange) {
  TForm1& form = Start();
  Visit("B");
  ShowTab(form, 1);
  EXPECT_EQ(Back(), "");
  EXPECT_FALSE(BackEnabled());
  // Start-up's selection of X was the disc tree's first change.
  Select(*form.TreeView2, NodeAt(*form.TreeView2, {"Y"}));
  EXPECT_EQ(Back(), "X");
  Select(*form.TreeView2, NodeAt(*form.TreeView2, {"X"}));
  EXPECT_EQ(Back(), "Y X");
  ShowTab(form, 0);
  EXPECT_EQ(Back(), "A");
  ShowTab(form, 1);
  EXPECT_EQ(Back(), "Y X");
  form.GoBack();
  Flush();
  EXPECT_EQ(Selected(*form.TreeView2), "Y");
  EXPECT_EQ(Selected(*form.TreeView1), "B");  // the other tab is left alone
  EXPECT_EQ(Forward(), "X");
}

TEST_F(HistoryTest, NothingIsRecordedWhileTheDiscTreeIsEmpty) {
  Start(false);
  Visit("B");
  Visit("C");
  EXPECT_EQ(Back(), "");
  EXPECT_FALSE(BackEnabled());
}

TEST_F(HistoryTest, RefreshClearsEverythingAndRestartsTheSkipCounters) {
  TForm1& form = Start();
  Visit("B");
  Visit("C");
  form.N57Click();
  Flush();
  EXPECT_EQ(Back(), "");
  EXPECT_EQ(Forward(), "");
  EXPECT_FALSE(BackEnabled());
  EXPECT_FALSE(ForwardEnabled());
  Visit("B");  // the first change after the refresh
  EXPECT_EQ(Back(), "");
  Visit("C");
  EXPECT_EQ(Back(), "B");
  EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(HistoryTest, MenuItemsKeepTheirCaptionAndShowAmpersands) {
  TForm1& form = Start();
  SetNodeText(*form.TreeView1, Top("D"), "R&D");
  Visit("R&D");
  Visit("B");
  Visit("C");
  SetNodeText(*form.TreeView1, Top("B"), "Renamed");
  EXPECT_EQ(Back(), "B R&D A");
  form.GoBack();
  Flush();
  EXPECT_EQ(Selected(*form.TreeView1), "Renamed");
  EXPECT_EQ(Back(), "R&D A");
  EXPECT_EQ(Forward(), "C");

  // A click in the drop-down menu goes to that entry once the menu has closed.
  wxCommandEvent click(wxEVT_MENU, form.PopupMenu3->FindItemByPosition(1)->GetId());
  form.PopupMenu3->ProcessEvent(click);
  Flush();
  EXPECT_EQ(Selected(*form.TreeView1), "A");
  EXPECT_EQ(Forward(), "R&D Renamed C");  // the node left is taken with its text of now
}

TEST_F(HistoryTest, ForgottenNodesNeverComeBack) {
  TForm1& form = Start();
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"A", "X"}));
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"A", "X", "E:"}));
  Visit("B");
  Visit("C");
  Visit("D");
  EXPECT_EQ(Back(), "C B E: X A");
  EXPECT_EQ(form.ContentState().loaded_disc_name, "X");

  // Deleting category A takes its disc and folder nodes along.
  form.ForgetNode(Top("A"));
  EXPECT_EQ(Back(), "C B");
  EXPECT_EQ(form.ContentState().loaded_disc_name, "");
  form.TreeView1->Delete(Top("A"));
  Flush();
  form.ForgetNode(Top("C"));
  EXPECT_EQ(Back(), "B");
  form.GoBack();
  Flush();
  EXPECT_EQ(Selected(*form.TreeView1), "B");
  EXPECT_FALSE(BackEnabled());
  form.ForgetNode(wxTreeItemId());  // no node: nothing to do
}

TEST_F(HistoryTest, ButtonsGoOutWithTheLastNodeTheirListsHeld) {
  TForm1& form = Start();
  Visit("B");
  Visit("C");
  form.GoBack();
  Flush();
  ASSERT_EQ(Back(), "A");
  ASSERT_EQ(Forward(), "C");
  form.ForgetNode(Top("A"));
  EXPECT_EQ(Back(), "");
  EXPECT_FALSE(BackEnabled());
  EXPECT_TRUE(ForwardEnabled());
  form.ForgetNode(Top("C"));
  EXPECT_EQ(Forward(), "");
  EXPECT_FALSE(ForwardEnabled());
}

TEST_F(HistoryTest, TheNodeTheTreePicksAfterADeletionIsTheOnlyOneLeft) {
  TForm1& form = Start();
  Visit("C");
  Visit("D");
  EXPECT_EQ(Back(), "C A");
  // The selected node goes; the tree selects another one by itself.
  form.ForgetNode(Top("D"));
  form.TreeView1->Delete(Top("D"));
  Flush();
  const std::string picked = Selected(*form.TreeView1);
  Visit("N05");
  // Only the node shown after the deletion is recorded, not one made up on the way.
  EXPECT_EQ(Back(), picked.empty() ? "C A" : picked + " C A");
}

}  // namespace
}  // namespace movra
