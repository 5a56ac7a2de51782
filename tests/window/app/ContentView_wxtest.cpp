// The content view in the real window: what each kind of node shows, the
// snapshot loading, the folder nodes grown one level ahead, the view style,
// entering folders by double click and the status bar.
#include <cstdio>

#include <gtest/gtest.h>

#include "support/BrowseSupport.h"

namespace movra {
namespace {

using test::ChildNodeTexts;
using test::CountBelow;
using test::Gbk;
using test::ListCaptions;
using test::NodeAt;
using test::Panel;
using test::WriteTestSnapshot;

const char* const kCatalogue =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>"
    "<T_电影><D_DVD1><Title>DVD1</Title><Time>2006/3/3 9:07:02</Time><Memo>firstnbspsecondnbsp</Memo></D_DVD1>"
    "<T_动作><D_光盘2><Title>光盘2</Title><Time>2007/1/2</Time><Memo>abc</Memo></D_光盘2></T_动作></T_电影>"
    "<T_apps><D_NoFile><Title>NoFile</Title></D_NoFile><D_NoTitle><Time>2001/1/1</Time></D_NoTitle></T_apps>"
    "</CDLIST></root>";

const std::vector<test::TestEntry> kDvd1 = {
    {"E:\\", "b", -1},          {"E:\\", "A", -1},          {"E:\\", "c", -1},
    {"E:\\", "z.txt", 1024},    {"E:\\", "a.txt", 3072},    {"E:\\A\\", "SUB", -1},
    {"E:\\A\\", "x.mp3", 5000}, {"E:\\A\\SUB\\", "DEEP", -1}, {"E:\\A\\SUB\\", "y.txt", 10},
    {"E:\\A\\SUB\\DEEP\\", "d.txt", 10}, {"E:\\c\\", "c1", -1},
};

class ContentViewTest : public test::BrowseFixture {
 protected:
  TForm1& Start() {
    WriteCatalogue(Gbk(kCatalogue));
    WriteTestSnapshot(ProgramFolder(), "DVD1", kDvd1);
    WriteTestSnapshot(ProgramFolder(), "光盘2", {{"F:\\", "视频", -1}, {"F:\\", "readme.txt", 100}, {"F:\\视频\\", "v.avi", 9}});
    WriteTestSnapshot(ProgramFolder(), "NoTitle", {{"G:\\", "only.iso", 3LL << 30}});
    TForm1& form = StartForm();
    EXPECT_TRUE(MessagesShown().empty());
    return form;
  }
  // Nodes of the category tree.
  wxTreeItemId Dvd1() { return NodeAt(*Form().TreeView1, {"电影", "DVD1"}); }
  wxTreeItemId Dvd1Root() { return NodeAt(*Form().TreeView1, {"电影", "DVD1", "E:"}); }
  wxTreeItemId Dvd1Folder(const char* name) { return NodeAt(*Form().TreeView1, {"电影", "DVD1", "E:", name}); }
  // Selects rows of the content list as a click in the list would.
  void SelectRows(std::initializer_list<long> rows) {
    wxListCtrl* list = Form().ListView1->ActiveList();
    for (long row : rows) list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    Flush();
  }
  bool Enabled(wxToolBarToolBase* tool) { return Form().ToolBar1->GetToolEnabled(tool->GetId()); }
  bool Pressed(wxToolBarToolBase* tool) { return Form().ToolBar1->GetToolState(tool->GetId()); }
};

TEST_F(ContentViewTest, CategoriesAndDiscsForceDetailsAndFoldersBringTheUsersStyleBack) {
  TForm1& form = Start();
  Select(*form.TreeView1, Dvd1());
  Select(*form.TreeView1, Dvd1Root());
  form.ToolButton3Click();  // the user picks small icons while a folder is shown
  EXPECT_EQ(form.ListView1->ViewStyle(), ListViewStyle::SmallIcons);
  form.StatusBar1->SetStatusText("x", 0);
  form.StatusBar1->SetStatusText("y", 1);

  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"电影"}));
  EXPECT_TRUE(form.ListView1->Model().Empty());
  EXPECT_EQ(Panel(form, 0), "");
  EXPECT_EQ(Panel(form, 1), "");
  EXPECT_EQ(form.ListView1->ViewStyle(), ListViewStyle::Details);
  EXPECT_FALSE(Enabled(form.ToolButton2));
  EXPECT_FALSE(Enabled(form.ToolButton3));
  EXPECT_FALSE(Enabled(form.ToolButton4));
  EXPECT_TRUE(Enabled(form.ToolButton5));
  EXPECT_TRUE(Pressed(form.ToolButton5));
  EXPECT_FALSE(Pressed(form.ToolButton3));
  for (wxMenuItem* item : {form.N52, form.N53, form.L1, form.D1, form.N54}) EXPECT_FALSE(item->IsEnabled());
  EXPECT_TRUE(form.D1->IsChecked());

  // A style chosen while details is forced (from the list's own menu) is not remembered.
  form.ToolButton2Click();
  EXPECT_EQ(form.ListView1->ViewStyle(), ListViewStyle::LargeIcons);
  Select(*form.TreeView1, Dvd1());
  EXPECT_EQ(form.ListView1->ViewStyle(), ListViewStyle::Details);

  Select(*form.TreeView1, Dvd1Root());
  EXPECT_EQ(form.ListView1->ViewStyle(), ListViewStyle::SmallIcons);
  EXPECT_TRUE(Pressed(form.ToolButton3));
  EXPECT_FALSE(Pressed(form.ToolButton5));
  for (wxToolBarToolBase* tool : {form.ToolButton2, form.ToolButton3, form.ToolButton4, form.ToolButton5})
    EXPECT_TRUE(Enabled(tool));
  for (wxMenuItem* item : {form.N52, form.N53, form.L1, form.D1, form.N54}) EXPECT_TRUE(item->IsEnabled());
  EXPECT_TRUE(form.N53->IsChecked());
  EXPECT_FALSE(form.D1->IsChecked());
  EXPECT_EQ(ListCaptions(form), "A b c z.txt a.txt");  // the rows survive the style change
}

TEST_F(ContentViewTest, DiscShowsItsPageLoadsItsSnapshotAndGrowsItsFoldersOnce) {
  TForm1& form = Start();
  form.StatusBar1->SetStatusText("x", 0);
  Select(*form.TreeView1, Dvd1());
  EXPECT_EQ(ListCaptions(form), "光盘名： DVD1 存档日期： 2006/3/3 9:07:02 备  注： first second");
  const ListModel& model = form.ListView1->Model();
  ASSERT_EQ(model.Count(), 7u);
  const int text_icon = form.Icons().TextFileIconIndex();
  EXPECT_EQ(model.Row(0).icon, text_icon);
  EXPECT_EQ(model.Row(1).icon, -1);
  EXPECT_EQ(model.Row(4).icon, text_icon);
  EXPECT_FALSE(model.Row(6).hasSubItems);
  EXPECT_EQ(Panel(form, 0), "");
  EXPECT_EQ(form.ContentState().loaded_disc_name, "DVD1");
  EXPECT_EQ(form.ContentState().loaded_node_path, Gbk("电影\\DVD1\\"));

  // One root folder node named after the drive, its folders, and theirs.
  EXPECT_EQ(ChildNodeTexts(*form.TreeView1, Dvd1()), "E:");
  EXPECT_EQ(form.TreeView1->GetItemImage(Dvd1Root()), 3);
  EXPECT_EQ(ChildNodeTexts(*form.TreeView1, Dvd1Root()), "A b c");
  EXPECT_EQ(form.TreeView1->GetItemImage(Dvd1Folder("A")), 4);
  EXPECT_EQ(ChildNodeTexts(*form.TreeView1, Dvd1Folder("A")), "SUB");
  EXPECT_EQ(ChildNodeTexts(*form.TreeView1, Dvd1Folder("c")), "c1");
  EXPECT_EQ(CountBelow(*form.TreeView1, Dvd1()), 6);

  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"apps"}));
  Select(*form.TreeView1, Dvd1());
  EXPECT_EQ(CountBelow(*form.TreeView1, Dvd1()), 6);

  // A disc of a sub-category, in the category tree and in the disc tree.
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"电影", "动作", "光盘2"}));
  EXPECT_EQ(ListCaptions(form), "光盘名： 光盘2 存档日期： 2007/1/2 备  注： abc");
  EXPECT_EQ(ChildNodeTexts(*form.TreeView1, NodeAt(*form.TreeView1, {"电影", "动作", "光盘2"})), "F:");
  Select(*form.TreeView1, Dvd1());
  ShowTab(form, 1);
  Select(*form.TreeView2, NodeAt(*form.TreeView2, {"光盘2"}));
  EXPECT_EQ(ListCaptions(form), "光盘名： 光盘2 存档日期： 2007/1/2 备  注： abc");
  EXPECT_EQ(ChildNodeTexts(*form.TreeView2, NodeAt(*form.TreeView2, {"光盘2", "F:"})), "视频");
  EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(ContentViewTest, TheDiscTreesFirstDiscIsNotLoadedAtStartUp) {
  // The disc tree gets a selected node at start-up while the category tab is
  // shown: that disc is not shown, so its missing file is no message.
  WriteCatalogue(Gbk(kCatalogue));
  TForm1& form = StartForm();
  EXPECT_EQ(SelectedNode(*form.TreeView2), NodeAt(*form.TreeView2, {"DVD1"}));
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_EQ(form.ContentState().loaded_node_path, "");
  EXPECT_EQ(form.ListView1->ViewStyle(), ListViewStyle::Details);
}

TEST_F(ContentViewTest, MissingTitleAndMemoShowEmptyItems) {
  TForm1& form = Start();
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"apps", "NoTitle"}));
  const ListModel& model = form.ListView1->Model();
  ASSERT_EQ(model.Count(), 6u);
  EXPECT_EQ(model.Row(1).caption, "");
  EXPECT_EQ(model.Row(3).caption, "2001/1/1");
  EXPECT_EQ(model.Row(5).caption, "");
  // A snapshot without folders gets its root folder node all the same.
  EXPECT_EQ(ChildNodeTexts(*form.TreeView1, NodeAt(*form.TreeView1, {"apps", "NoTitle"})), "G:");
  // Totals of 2 GiB and more are counted in full.
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"apps", "NoTitle", "G:"}));
  EXPECT_EQ(ListCaptions(form), "only.iso");
  EXPECT_EQ(Panel(form, 1), "3 GB");
}

TEST_F(ContentViewTest, MissingSnapshotIsReportedAndKeepsTheLoadedDisc) {
  TForm1& form = Start();
  Select(*form.TreeView1, Dvd1());
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"apps", "NoFile"}));
  ASSERT_EQ(MessagesShown().size(), 1u);
  EXPECT_EQ(MessagesShown()[0], Gbk("您选择的光盘索引不存在！"));
  EXPECT_EQ(form.ListView1->Model().Row(1).caption, "NoFile");  // the page stays
  EXPECT_EQ(CountBelow(*form.TreeView1, NodeAt(*form.TreeView1, {"apps", "NoFile"})), 0);
  EXPECT_EQ(form.ContentState().loaded_disc_name, "DVD1");
  EXPECT_EQ(form.ContentState().loaded_node_path, Gbk("电影\\DVD1\\"));

  // Below a disc whose file went missing, nothing is reported and the list stays.
  Select(*form.TreeView1, Dvd1());
  form.TreeView1->Expand(Dvd1());
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"电影", "动作", "光盘2"}));
  ClearMessages();
  std::remove((ProgramFolder() + "/CDROM/DVD1.cdg").c_str());
  Select(*form.TreeView1, Dvd1Root());
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_TRUE(form.Index().Empty());
  EXPECT_EQ(ListCaptions(form), "光盘名： 光盘2 存档日期： 2007/1/2 备  注： abc");
}

TEST_F(ContentViewTest, DamagedSnapshotNeverPassesForTheDiscLoadedBefore) {
  TForm1& form = Start();
  Select(*form.TreeView1, Dvd1());
  // 光盘2's file breaks after its first line: the index now holds part of 光盘2.
  test::WriteBytes(ProgramFolder() + "/CDROM/光盘2.cdg", "F:\\|x[]2006/3/3\r\nbroken line\r\n");
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"电影", "动作", "光盘2"}));
  ASSERT_EQ(MessagesShown().size(), 1u);
  // A file that is there but does not read is not called missing.
  EXPECT_EQ(MessagesShown()[0], Gbk("您选择的光盘索引无法读取！"));
  // DVD1's folders are read from DVD1's own file again, not from what is left.
  Select(*form.TreeView1, Dvd1Root());
  EXPECT_EQ(ListCaptions(form), "A b c z.txt a.txt");
}

TEST_F(ContentViewTest, FolderListingOrderTextsAndStatus) {
  TForm1& form = Start();
  Select(*form.TreeView1, Dvd1());
  Select(*form.TreeView1, Dvd1Root());
  // Folders in locale order, then files in snapshot order.
  EXPECT_EQ(ListCaptions(form), "A b c z.txt a.txt");
  const ListModel& model = form.ListView1->Model();
  EXPECT_EQ(model.Row(0).icon, form.Icons().FolderIconIndex());
  EXPECT_EQ(model.SubItem(0, 0), "");
  EXPECT_EQ(model.SubItem(0, 2), Gbk("文件夹"));
  EXPECT_EQ(model.SubItem(3, 0), "1 KB");
  EXPECT_EQ(model.SubItem(3, 1), "2006-03-03 09:07:02");
  EXPECT_EQ(model.SubItem(3, 2), Gbk("文件"));
  EXPECT_EQ(Panel(form, 0), "5个对象");
  EXPECT_EQ(Panel(form, 1), "4 KB");
  SelectRows({3, 4});
  EXPECT_EQ(Panel(form, 0), "选定了2个对象");
  EXPECT_EQ(Panel(form, 1), "4 KB");

  // A folder node lists its folder and grows the level below its children.
  Select(*form.TreeView1, Dvd1Folder("A"));
  EXPECT_EQ(ListCaptions(form), "SUB x.mp3");
  EXPECT_EQ(ChildNodeTexts(*form.TreeView1, NodeAt(*form.TreeView1, {"电影", "DVD1", "E:", "A", "SUB"})), "DEEP");
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"电影", "DVD1", "E:", "A", "SUB", "DEEP"}));
  EXPECT_EQ(ListCaptions(form), "d.txt");
  EXPECT_EQ(Panel(form, 0), "1个对象");

  // An empty folder empties the list; the status bar keeps its texts.
  Select(*form.TreeView1, Dvd1Folder("b"));
  EXPECT_TRUE(model.Empty());
  EXPECT_EQ(Panel(form, 0), "1个对象");
}

TEST_F(ContentViewTest, ExpandingGrowsTheTreeAndListsOnlyRootFoldersOrTheSelectedNode) {
  TForm1& form = Start();
  Select(*form.TreeView1, Dvd1());
  Select(*form.TreeView1, Dvd1Root());
  const wxTreeItemId sub = NodeAt(*form.TreeView1, {"电影", "DVD1", "E:", "A", "SUB"});
  EXPECT_EQ(CountBelow(*form.TreeView1, sub), 0);
  form.TreeView1->Expand(Dvd1Folder("A"));
  Flush();
  EXPECT_EQ(ChildNodeTexts(*form.TreeView1, sub), "DEEP");
  EXPECT_EQ(ListCaptions(form), "A b c z.txt a.txt");
  EXPECT_EQ(SelectedNode(*form.TreeView1), Dvd1Root());

  // A root folder node that is not selected grows too, and the list stays on the selected disc.
  ShowTab(form, 1);
  Select(*form.TreeView2, NodeAt(*form.TreeView2, {"光盘2"}));
  const wxTreeItemId f_root = NodeAt(*form.TreeView2, {"光盘2", "F:"});
  ASSERT_FALSE(form.TreeView2->IsExpanded(f_root));
  form.TreeView2->Expand(f_root);
  Flush();
  EXPECT_EQ(ListCaptions(form), "光盘名： 光盘2 存档日期： 2007/1/2 备  注： abc");
  EXPECT_EQ(ChildNodeTexts(*form.TreeView2, f_root), "视频");
  EXPECT_FALSE(form.ContentState().expanding);
}

TEST_F(ContentViewTest, SwitchingTreesReloadsTheSnapshotWhileFoldersOfTheSameDiscDoNot) {
  TForm1& form = Start();
  Select(*form.TreeView1, Dvd1());
  WriteTestSnapshot(ProgramFolder(), "DVD1", {{"E:\\", "NEW", -1}});
  // The same disc below: its snapshot is in the index already.
  Select(*form.TreeView1, Dvd1Root());
  EXPECT_EQ(ListCaptions(form), "A b c z.txt a.txt");
  // The same disc from the disc tree is another path: read again.
  ShowTab(form, 1);
  Select(*form.TreeView2, NodeAt(*form.TreeView2, {"NoTitle"}));
  Select(*form.TreeView2, NodeAt(*form.TreeView2, {"DVD1"}));
  EXPECT_EQ(form.ContentState().loaded_node_path, "DVD1\\");
  EXPECT_EQ(ChildNodeTexts(*form.TreeView2, NodeAt(*form.TreeView2, {"DVD1", "E:"})), "NEW");
  // A disc added since (the add-disc command empties the loaded names) is read again too.
  WriteTestSnapshot(ProgramFolder(), "DVD1", kDvd1);
  form.ContentState().loaded_disc_name.clear();
  form.ContentState().loaded_node_path.clear();
  ShowTab(form, 0);
  Select(*form.TreeView1, Dvd1Folder("c"));
  EXPECT_EQ(ListCaptions(form), "c1");
  EXPECT_EQ(form.ContentState().loaded_disc_name, "DVD1");
  EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(ContentViewTest, DoubleClickEntersFoldersOnly) {
  TForm1& form = Start();
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"电影", "动作", "光盘2"}));
  Select(*form.TreeView1, Dvd1());
  Select(*form.TreeView1, Dvd1Root());
  wxCommandEvent dbl;

  // A file row: nothing happens.
  SelectRows({4});
  form.ListView1DblClick(dbl);
  EXPECT_EQ(SelectedNode(*form.TreeView1), Dvd1Root());

  // A folder row: its node is selected and listed. Its parent is open
  // already, so entering it expands nothing.
  form.TreeView1->Expand(Dvd1Root());
  Flush();
  form.ListView1->ActiveList()->SetItemState(-1, 0, wxLIST_STATE_SELECTED);
  SelectRows({0});
  form.ListView1DblClick(dbl);
  Flush();
  EXPECT_EQ(SelectedNode(*form.TreeView1), Dvd1Folder("A"));
  EXPECT_EQ(ListCaptions(form), "SUB x.mp3");
  EXPECT_FALSE(form.ContentState().double_clicked);

  // The next expansion is still shown: expanding the selected folder lists it again.
  {
    ContentListCtrl::Quiet quiet(*form.ListView1);
    form.ListView1->Model().Clear();
    form.ListView1->RefreshFromModel();
  }
  ASSERT_FALSE(form.TreeView1->IsExpanded(Dvd1Folder("A")));
  form.TreeView1->Expand(Dvd1Folder("A"));
  Flush();
  EXPECT_EQ(ListCaptions(form), "SUB x.mp3");
  EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(ContentViewTest, DoubleClickOnAFolderWithoutNodeIsReported) {
  TForm1& form = Start();
  Select(*form.TreeView1, Dvd1());
  Select(*form.TreeView1, Dvd1Root());
  form.TreeView1->Delete(Dvd1Folder("c"));
  SelectRows({2});
  wxCommandEvent dbl;
  form.ListView1DblClick(dbl);
  ASSERT_EQ(MessagesShown().size(), 1u);
  EXPECT_EQ(MessagesShown()[0], Gbk("视图内容有错误！"));
  EXPECT_EQ(SelectedNode(*form.TreeView1), Dvd1Root());
  EXPECT_FALSE(form.ContentState().double_clicked);
}

TEST_F(ContentViewTest, SelectAllAndInvertSelectionReachTheStatusBar) {
  TForm1& form = Start();
  Select(*form.TreeView1, Dvd1());
  Select(*form.TreeView1, Dvd1Root());
  form.SelectAllContent();
  Flush();
  EXPECT_EQ(form.ListView1->Model().SelectedCount(), 5u);
  EXPECT_EQ(Panel(form, 0), "选定了5个对象");
  form.InvertContentSelection();
  Flush();
  EXPECT_EQ(form.ListView1->Model().SelectedCount(), 0u);
  EXPECT_EQ(Panel(form, 0), "5个对象");
  SelectRows({1});
  form.InvertContentSelection();
  Flush();
  EXPECT_EQ(Panel(form, 0), "选定了4个对象");
  EXPECT_FALSE(form.ListView1->Model().IsSelected(1));
}

TEST_F(ContentViewTest, ViewStyleCommandsSetListButtonAndMenuCheck) {
  TForm1& form = Start();
  Select(*form.TreeView1, Dvd1());
  Select(*form.TreeView1, Dvd1Root());
  const std::pair<void (TForm1::*)(), ListViewStyle> commands[] = {
      {&TForm1::ToolButton2Click, ListViewStyle::LargeIcons},
      {&TForm1::ToolButton3Click, ListViewStyle::SmallIcons},
      {&TForm1::ToolButton4Click, ListViewStyle::List},
      {&TForm1::ToolButton5Click, ListViewStyle::Details}};
  wxToolBarToolBase* const buttons[] = {form.ToolButton2, form.ToolButton3, form.ToolButton4, form.ToolButton5};
  wxMenuItem* const items[] = {form.N52, form.N53, form.L1, form.D1};
  for (int i = 0; i < 4; ++i) {
    (form.*commands[i].first)();
    EXPECT_EQ(form.ListView1->ViewStyle(), commands[i].second);
    EXPECT_EQ(form.ContentState().remembered_style, commands[i].second);
    for (int j = 0; j < 4; ++j) {
      EXPECT_EQ(Pressed(buttons[j]), i == j) << i << " " << j;
      EXPECT_EQ(items[j]->IsChecked(), i == j) << i << " " << j;
    }
  }
}

}  // namespace
}  // namespace movra
