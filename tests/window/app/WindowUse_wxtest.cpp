// The window as a user meets it: the content list following the tab, the
// expansions and the collapses, exact totals, the item commands of the menus,
// the first-start hint and the layout remembered between runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

#include <wx/display.h>
#include <wx/filename.h>

#include "window/dialogs/ModalDialogs.h"
#include "window/dialogs/PropertiesBox.h"
#include "support/BrowseSupport.h"

namespace movra {
namespace {

using test::Gbk;
using test::ListCaptions;
using test::NodeAt;
using test::Panel;

const char* const kCatalogue =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>"
    "<T_电影><D_DVD1><Title>DVD1</Title><Time>2006/3/3 9:07:02</Time><Memo>onenbsptwonbsp</Memo></D_DVD1></T_电影>"
    "<T_音乐><D_DVD2><Title>DVD2</Title><Time>2007/1/2</Time></D_DVD2></T_音乐>"
    "</CDLIST></root>";

class WindowUseTest : public test::BrowseFixture {
 protected:
  TForm1& Start() {
    WriteCatalogue(Gbk(kCatalogue));
    test::WriteTestSnapshot(ProgramFolder(), "DVD1",
                            {{"E:\\", "A", -1}, {"E:\\", "B", -1}, {"E:\\A\\", "SUB", -1}, {"E:\\A\\", "f1", 1},
                             {"E:\\A\\", "f2", 1000}, {"E:\\A\\", "f3", 32088}, {"E:\\A\\SUB\\", "DEEP", -1}});
    test::WriteTestSnapshot(ProgramFolder(), "DVD2", {{"F:\\", "C", -1}, {"F:\\C\\", "D", -1}});
    return StartForm();
  }
  wxTreeItemId Node(std::vector<const char*> path) { return NodeAt(*Form().TreeView1, path); }
  // The properties box's lines as UTF-8 "label value", recorded instead of shown.
  std::vector<std::string> PropertiesOf(const std::function<void()>& command) {
    std::vector<std::string> shown;
    SetDialogRunner([&shown](wxDialog& dialog) {
      for (const PropertyLine& line : dynamic_cast<TPropertiesBox&>(dialog).Lines())
        shown.push_back(GbkToUtf8(line.label + line.value));
      return wxID_OK;
    });
    command();
    SetDialogRunner({});
    return shown;
  }
};

TEST_F(WindowUseTest, TheDiscTabShowsItsSelectedDiscAsSoonAsItIsShown) {
  TForm1& form = Start();
  ShowTab(form, 1);
  const wxTreeItemId first = form.TreeView2->GetSelection();
  EXPECT_EQ(GbkToUtf8(NodeText(*form.TreeView2, first)), "DVD1");
  EXPECT_EQ(ListCaptions(form), "光盘名： DVD1 存档日期： 2006/3/3 9:07:02 备  注： one two");
  EXPECT_EQ(test::ChildNodeTexts(*form.TreeView2, first), "E:");
  // Back on the category tab the list follows that tab's selection again.
  ShowTab(form, 0);
  EXPECT_EQ(ListCaptions(form), "");
}

TEST_F(WindowUseTest, ExpandingANodeThatIsNotSelectedOnlyGrowsIt) {
  TForm1& form = Start();
  Select(*form.TreeView1, Node({"音乐", "DVD2"}));
  Select(*form.TreeView1, Node({"电影", "DVD1"}));
  Select(*form.TreeView1, Node({"电影", "DVD1", "E:"}));
  ASSERT_EQ(ListCaptions(form), "A B");
  const wxTreeItemId other_root = Node({"音乐", "DVD2", "F:"});
  form.TreeView1->Expand(Node({"音乐", "DVD2"}));
  form.TreeView1->Expand(other_root);
  form.TreeView1->Expand(Node({"电影", "DVD1", "E:", "A"}));
  Flush();
  EXPECT_EQ(ListCaptions(form), "A B");
  EXPECT_EQ(test::ChildNodeTexts(*form.TreeView1, Node({"音乐", "DVD2", "F:", "C"})), "D");
  EXPECT_EQ(test::ChildNodeTexts(*form.TreeView1, Node({"电影", "DVD1", "E:", "A", "SUB"})), "DEEP");
  EXPECT_FALSE(form.ContentState().expanding);
  EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(WindowUseTest, CollapsingAnAncestorRecordsTheNodeLeftAndTotalsAreExact) {
  TForm1& form = Start();
  Select(*form.TreeView1, Node({"电影", "DVD1"}));
  Select(*form.TreeView1, Node({"电影", "DVD1", "E:"}));
  Select(*form.TreeView1, Node({"电影", "DVD1", "E:", "A"}));
  // 1 + 1,000 + 32,088 bytes: their texts 1 KB + 1 KB + 32 KB would give 34 KB.
  EXPECT_EQ(Panel(form, 0), "4个对象");
  EXPECT_EQ(Panel(form, 1), "32.31 KB");
  form.N66Click();  // by size: the header shows the arrow
  EXPECT_EQ(form.ListView1->ActiveList()->GetSortIndicator(), 1);

  form.TreeView1->Collapse(Node({"电影", "DVD1"}));
  Flush();
  EXPECT_EQ(form.TreeView1->GetSelection(), Node({"电影", "DVD1"}));
  ASSERT_GT(form.PopupMenu3->GetMenuItemCount(), 0u);
  EXPECT_EQ(form.PopupMenu3->FindItemByPosition(0)->GetItemLabelText().utf8_string(), "A");
  form.GoBack();  // one step back returns to the folder that was left
  EXPECT_EQ(form.TreeView1->GetSelection(), Node({"电影", "DVD1", "E:", "A"}));
}

TEST_F(WindowUseTest, MenuItemsThatActOnTheClickedNodeOrRow) {
  TForm1& form = Start();
  // 展开 and 收起 on the clicked category.
  form.CurrentCategoryNode() = Node({"电影"});
  form.N14Click();
  EXPECT_TRUE(form.TreeView1->IsExpanded(Node({"电影"})));
  form.N15Click();
  EXPECT_FALSE(form.TreeView1->IsExpanded(Node({"电影"})));
  form.PopupMenu1Popup();
  EXPECT_TRUE(form.M1->IsEnabled());
  EXPECT_TRUE(form.N9->IsEnabled());
  // Renaming and new sub-categories have nothing to act on below a category.
  form.CurrentCategoryNode() = Node({"电影", "DVD1"});
  form.PopupMenu1Popup();
  EXPECT_FALSE(form.M1->IsEnabled());
  EXPECT_FALSE(form.N9->IsEnabled());
  EXPECT_TRUE(form.N19->IsEnabled());

  // 属性 of a disc's page, then of a file row.
  Select(*form.TreeView1, Node({"电影", "DVD1"}));
  EXPECT_EQ(PropertiesOf([&] { form.R1Click(); }),
            (std::vector<std::string>{"光盘名：DVD1", "分类：电影", "存档日期：2006/3/3 9:07:02", "备注：one\ntwo",
                                      "对象：7 个", "总大小：33,089 字节（32.31 KB）"}));
  Select(*form.TreeView1, Node({"电影", "DVD1", "E:", "A"}));
  form.ListView1->Model().SetSelected(3, true);  // f3
  EXPECT_EQ(PropertiesOf([&] { form.R1Click(); }),
            (std::vector<std::string>{"名称：f3", "光盘：DVD1", "路径：E:\\A\\f3", "类型：文件",
                                      "大小：32,088 字节（31 KB）", "修改时间：2006-03-03 09:07:02"}));
  // 刷新 rebuilds the trees as Refresh does.
  form.N27Click();
  Flush();
  EXPECT_FALSE(form.TreeView1->ItemHasChildren(Node({"电影", "DVD1"})));
  EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(WindowUseTest, AnEmptyCatalogueShowsHowToBeginUntilTheFirstCategoryExists) {
  TForm1& form = StartForm();
  EXPECT_TRUE(form.ContentState().showing_hint);
  EXPECT_NE(ListCaptions(form).find("新建主类"), std::string::npos);
  form.N65Click();  // the hint is never sorted
  EXPECT_EQ(ListCaptions(form).rfind("欢迎使用", 0), 0u);
  form.G1Click();
  Flush();
  EXPECT_FALSE(form.ContentState().showing_hint);
  EXPECT_EQ(ListCaptions(form).find("新建主类"), std::string::npos);
}

TEST_F(WindowUseTest, TheLayoutIsRememberedBetweenRuns) {
  TForm1& form = Start();
  form.SetSize(wxRect(50, 40, 900, 650));
  form.Splitter1->SetSashPosition(300);
  form.ListView1->SetColumnWidths({321});
  Select(*form.TreeView1, Node({"电影", "DVD1"}));
  Select(*form.TreeView1, Node({"电影", "DVD1", "E:"}));
  form.ToolButton4Click();  // list style for folders
  ShowTab(form, 1);
  Flush();
  form.N38Click();  // 关闭 writes the settings
  ASSERT_TRUE(ExitStatus());

  TForm1& again = StartForm();
  EXPECT_EQ(again.GetRect(), wxRect(50, 40, 900, 650));
  EXPECT_EQ(again.Splitter1->GetSashPosition(), 300);
  EXPECT_EQ(again.ListView1->ColumnWidths()[0], 321);
  EXPECT_EQ(again.PageControl1->GetSelection(), 1);
  EXPECT_EQ(again.ContentState().remembered_style, ListViewStyle::List);
  EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(WindowUseTest, ADamagedSettingsFileGivesTheDefaultsSilently) {
  ASSERT_TRUE(wxFileName::Mkdir(wxString::FromUTF8(ProgramFolder() + "/config"), 0700, wxPATH_MKDIR_FULL));
  using namespace std::string_literals;
  test::WriteBytes(SettingsFile(), "\0\xff[[Window\nX=zz\n[Window]\nWidth=99999999\nHeight=-4\n"
                                   "LeftPane=5\n[Lists]\nContentColumns=1,x\nViewStyle=9\n"s);
  TForm1& form = Start();
  const wxRect area = wxDisplay(0u).GetClientArea();
  EXPECT_EQ(form.GetSize(), wxSize(std::max(740, area.width * 7 / 10), std::max(576, area.height * 7 / 10)));
  EXPECT_EQ(form.Splitter1->GetSashPosition(), 233);
  EXPECT_EQ(form.ListView1->ColumnWidths()[0], 250);
  EXPECT_EQ(form.PageControl1->GetSelection(), 0);
  EXPECT_TRUE(MessagesShown().empty());
}

}  // namespace
}  // namespace movra
