// Column sorting in the real window: column clicks and the arrange commands,
// folders kept above files, one direction flag shared by every sort.
#include <algorithm>

#include <gtest/gtest.h>

#include "support/BrowseSupport.h"

namespace movra {
namespace {

using test::Gbk;
using test::ListCaptions;
using test::NodeAt;
using test::WriteTestSnapshot;

const char* const kCatalogue =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>"
    "<T_Discs><D_Mix><Title>Mix</Title></D_Mix><D_Two><Title>Two</Title></D_Two></T_Discs></CDLIST></root>";

class ContentSortTest : public test::BrowseFixture {
 protected:
  TForm1& Start() {
    WriteCatalogue(Gbk(kCatalogue));
    // Sizes: c.txt 2,000 and A.txt 1,500 bytes both show as 1 KB; new.mp3 is the largest.
    WriteTestSnapshot(ProgramFolder(), "Mix",
                      {{"E:\\", "B", -1, 2004},
                       {"E:\\", "a", -1, 2008},
                       {"E:\\", "c.txt", 2000, 2010},
                       {"E:\\", "A.txt", 1500, 2001},
                       {"E:\\", "new.mp3", 900000, 2005},
                       {"E:\\B\\", "inner.txt", 1, 2004}});
    WriteTestSnapshot(ProgramFolder(), "Two", {{"F:\\", "y.txt", 1}, {"F:\\", "x.txt", 1}});
    TForm1& form = StartForm();
    Select(*form.TreeView1, NodeAt(*form.TreeView1, {"Discs", "Mix"}));
    return form;
  }
  void ShowRoot() { Select(*Form().TreeView1, NodeAt(*Form().TreeView1, {"Discs", "Mix", "E:"})); }
  void ClickColumn(int column) {
    wxCommandEvent click;
    click.SetInt(column);
    Form().ListView1ColumnClick(click);
  }
};

TEST_F(ContentSortTest, NothingIsSortedWhileADiscOrCategoryIsShown) {
  TForm1& form = Start();
  const std::string page = ListCaptions(form);
  ClickColumn(0);
  form.N65Click();
  EXPECT_EQ(ListCaptions(form), page);
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"Discs"}));
  ClickColumn(1);
  // The direction flag kept its value: the first sort of a listing is ascending.
  ShowRoot();
  ClickColumn(0);
  EXPECT_EQ(ListCaptions(form), "a B A.txt c.txt new.mp3");
}

TEST_F(ContentSortTest, ColumnClicksAlternateDirectionAcrossColumnsAndKeepFoldersOnTop) {
  TForm1& form = Start();
  ShowRoot();
  EXPECT_EQ(ListCaptions(form), "a B c.txt A.txt new.mp3");  // as listed: folders in locale order, files as stored
  ClickColumn(0);
  EXPECT_EQ(ListCaptions(form), "a B A.txt c.txt new.mp3");
  ClickColumn(0);
  EXPECT_EQ(ListCaptions(form), "B a new.mp3 c.txt A.txt");
  ClickColumn(0);
  // The flag is shared: the size sort that follows a name sort comes out descending.
  ClickColumn(1);
  const ListModel& model = form.ListView1->Model();
  EXPECT_EQ(model.Row(2).caption, "new.mp3");
  EXPECT_EQ(model.Row(0).icon, form.Icons().FolderIconIndex());
  EXPECT_EQ(model.Row(1).icon, form.Icons().FolderIconIndex());
  // The texts come back as shown: folders without size, files with theirs.
  EXPECT_EQ(model.SubItem(0, 0), "");
  EXPECT_EQ(model.SubItem(2, 0), "878 KB");
  EXPECT_EQ(model.SubItem(3, 0), "1 KB");
  EXPECT_EQ(model.SubItem(3, 2), Gbk("文件"));
  EXPECT_EQ(model.SelectedCount(), 0u);

  // A new listing comes in its own order; the flag goes on from where it was.
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"Discs", "Mix", "E:", "B"}));
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"Discs", "Mix", "E:"}));
  EXPECT_EQ(ListCaptions(form), "a B c.txt A.txt new.mp3");
  ClickColumn(0);
  EXPECT_EQ(ListCaptions(form), "a B A.txt c.txt new.mp3");
}

TEST_F(ContentSortTest, ArrangeCommandsSortByTheColumnTheirCaptionNames) {
  TForm1& form = Start();
  ShowRoot();
  const ListModel& model = form.ListView1->Model();
  // 按日期 (main menu and context menu): by the 修改时间 column.
  form.N67Click();
  EXPECT_EQ(ListCaptions(form), "B a A.txt new.mp3 c.txt");
  form.N32Click();
  EXPECT_EQ(ListCaptions(form), "a B c.txt new.mp3 A.txt");

  // 按类型: by the 类型 column, which groups the rows by their icon.
  std::vector<ListRow> files(model.Rows().begin() + 2, model.Rows().end());
  std::stable_sort(files.begin(), files.end(), [](const ListRow& x, const ListRow& y) { return x.icon < y.icon; });
  form.N68Click();
  std::string expected = "a B";  // folders share one icon and keep their order
  for (const ListRow& row : files) expected += " " + row.caption;
  EXPECT_EQ(ListCaptions(form), expected);
  form.N30Click();  // descending
  EXPECT_GE(model.Row(2).icon, model.Row(4).icon);

  // 按名称 and 按大小 from both menus.
  form.N29Click();
  EXPECT_EQ(ListCaptions(form), "a B A.txt c.txt new.mp3");
  form.N66Click();
  EXPECT_EQ(model.Row(2).caption, "new.mp3");
  form.N31Click();
  EXPECT_EQ(model.Row(4).caption, "new.mp3");
}

TEST_F(ContentSortTest, SortsAFolderWithoutRowsAndShowsTheSortedRowsInEveryStyle) {
  TForm1& form = Start();
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"Discs", "Mix", "E:", "a"}));
  EXPECT_TRUE(form.ListView1->Model().Empty());
  ClickColumn(0);  // the empty listing still toggles the flag
  ShowRoot();
  form.ToolButton4Click();
  form.N65Click();
  EXPECT_EQ(ListCaptions(form), "B a new.mp3 c.txt A.txt");
  wxListCtrl* shown = form.ListView1->ActiveList();
  ASSERT_EQ(shown->GetItemCount(), 5);
  EXPECT_EQ(shown->GetItemText(2).utf8_string(), "new.mp3");
}

}  // namespace
}  // namespace movra
