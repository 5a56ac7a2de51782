// The main window's layout: captions, menus, tool buttons, columns, panels.
#include <gtest/gtest.h>

#include <algorithm>

#include <wx/display.h>

#include <string>
#include <vector>

#include "support/MainWindowFixture.h"

namespace movra {
namespace {

// The labels of a menu's items in order (with mnemonics and accelerators);
// separators as "-", submenus followed by their items in brackets.
std::string Labels(const wxMenu& menu) {
  std::string out;
  for (const wxMenuItem* item : menu.GetMenuItems()) {
    if (!out.empty()) out += " | ";
    if (item->IsSeparator()) {
      out += "-";
      continue;
    }
    out += item->GetItemLabel().utf8_string();
    if (item->IsSubMenu()) out += " [" + Labels(*item->GetSubMenu()) + "]";
  }
  return out;
}

class LayoutTest : public test::MainWindowFixture {};

TEST_F(LayoutTest, MainMenuHasEveryItemInOrder) {
  TForm1& form = StartForm();
  ASSERT_EQ(form.MainMenu1->GetMenuCount(), 4u);
  EXPECT_EQ(form.MainMenu1->GetMenuLabel(0).utf8_string(), "文件(&F)");
  EXPECT_EQ(form.MainMenu1->GetMenuLabel(1).utf8_string(), "编辑(&E)");
  EXPECT_EQ(form.MainMenu1->GetMenuLabel(2).utf8_string(), "查看(&V)");
  EXPECT_EQ(form.MainMenu1->GetMenuLabel(3).utf8_string(), "帮助(&H)");
  EXPECT_EQ(Labels(*form.N1),
            "添加光盘(&V)...\tCtrl+V | - | 导出快照文件 | 导入快照文件(&I) | 导入文件列表(&L)... | - | 查找...(&F)\tCtrl+F | - | "
            "新建(&W) [主类别 | 子类别] | - | 重命名(&M) | - | 关闭(&C)");
  EXPECT_EQ(Labels(*form.N2), "复制(&C)\tCtrl+C | 删除(&D)\tDel | - | 全部选定(&A)\tCtrl+A | 反向选择(&I) | - | 查找重复文件(&U)...");
  EXPECT_EQ(Labels(*form.N51),
            "大图标(&G) | 小图标(&M) | 列表(&L) | 详细资料(&D) | - | "
            "排列图标(&I) [按名称(&N) | 按类型(&T) | 按大小(&Z) | 按日期(&D)] | - | 刷新(&R)");
  EXPECT_EQ(Labels(*form.N6), "帮助主题(&H) | - | 论坛讨论(&C) | 用户反馈(&R) | - | 关于  Movra 0.2  (&A) | -");
  // Named items point at the right entries.
  EXPECT_EQ(form.N47->GetItemLabel().utf8_string(), "删除(&D)\tDel");
  EXPECT_EQ(form.N43->GetItemLabel().utf8_string(), "子类别");
  EXPECT_EQ(form.N67->GetItemLabel().utf8_string(), "按日期(&D)");
}

TEST_F(LayoutTest, InitialMenuStates) {
  TForm1& form = StartForm();
  EXPECT_FALSE(form.N45->IsEnabled());
  EXPECT_FALSE(form.N47->IsEnabled());
  EXPECT_TRUE(form.N46->IsEnabled());
  EXPECT_TRUE(form.D1->IsChecked());
  for (wxMenuItem* item : {form.N52, form.N53, form.L1}) EXPECT_FALSE(item->IsChecked());
}

TEST_F(LayoutTest, ContextMenusHaveTheirItemsInOrder) {
  TForm1& form = StartForm();
  EXPECT_EQ(Labels(*form.PopupMenu1),
            "展开(&A) | 收起(&C) | - | 搜索(&E)... | 查找重复文件(&P)... | 导出列表(&L)... | - | 新建主类(&G) | 新建子类(&W) | 删除(&D) | 重命名(&M) | - | "
            "导出快照(&R)... | 更新光盘(&U)... | - | 全部收起(&Z) | 全部展开(&O)");
  EXPECT_EQ(Labels(*form.PopupMenu2),
            "打开(&O) | 打开所在文件夹(&F) | - | 查看(&V) [大图标(&G) | 小图标(&M) | 列表(&L) | 详细资料(&D)] | - | "
            "排列图标(&I) [按名称(&N) | 按类型(&T) | 按大小(&Z) | 按日期(&D)] | 刷新(&E) | - | 属性(&R)");
  EXPECT_EQ(Labels(*form.PopupMenu5), "打开(&O)\tCtrl+Enter | 打开所在文件夹(&F) | - | 复制 | 导出列表(&L)... | - | 属性(&R) | -");
  EXPECT_EQ(form.PopupMenu3->GetMenuItemCount(), 0u);
  EXPECT_EQ(form.PopupMenu4->GetMenuItemCount(), 0u);
  EXPECT_EQ(form.R2->GetItemLabel().utf8_string(), "导出快照(&R)...");
  EXPECT_EQ(form.G1->GetItemLabel().utf8_string(), "新建主类(&G)");
}

TEST_F(LayoutTest, ToolButtonsHaveTheirCaptionsHintsKindsAndStates) {
  TForm1& form = StartForm();
  struct Expected {
    wxToolBarToolBase* tool;
    const char* caption;
    const char* hint;
    wxItemKind kind;
    bool enabled;
    bool down;
  };
  const std::vector<Expected> expected = {
      {form.ToolButton8, "添加", "", wxITEM_NORMAL, true, false},
      {form.ToolButton1, "后退", "返回到", wxITEM_DROPDOWN, false, false},
      {form.ToolButton13, "", "前进到", wxITEM_DROPDOWN, false, false},
      {form.ToolButton10, "搜索", "", wxITEM_CHECK, true, false},
      {form.ToolButton12, "", "删除", wxITEM_NORMAL, true, false},
      {form.ToolButton11, "", "", wxITEM_NORMAL, true, false},
      {form.ToolButton2, "", "大图标", wxITEM_RADIO, true, false},
      {form.ToolButton3, "", "小图标", wxITEM_RADIO, true, false},
      {form.ToolButton4, "", "列表", wxITEM_RADIO, true, false},
      {form.ToolButton5, "", "详细资料", wxITEM_RADIO, true, true},
  };
  int previous = -1;
  for (const Expected& e : expected) {
    SCOPED_TRACE(e.hint);
    EXPECT_EQ(e.tool->GetLabel().utf8_string(), e.caption);
    EXPECT_EQ(e.tool->GetShortHelp().utf8_string(), e.hint);
    EXPECT_EQ(e.tool->GetKind(), e.kind);
    EXPECT_EQ(form.ToolBar1->GetToolEnabled(e.tool->GetId()), e.enabled);
    EXPECT_EQ(form.ToolBar1->GetToolState(e.tool->GetId()), e.down);
    const int position = form.ToolBar1->GetToolPos(e.tool->GetId());
    EXPECT_GT(position, previous);  // left to right in this order
    previous = position;
  }
  EXPECT_EQ(form.ToolButton1->GetDropdownMenu(), form.PopupMenu3);
  EXPECT_EQ(form.ToolButton13->GetDropdownMenu(), form.PopupMenu4);
}

TEST_F(LayoutTest, WindowPanesListsAndStatusBar) {
  TForm1& form = StartForm();
  EXPECT_EQ(form.GetTitle(), "Movra");
  // Without remembered settings: 70 % of the screen's work area (at least 740 x 576), centred.
  const wxRect area = wxDisplay(0u).GetClientArea();
  const wxSize size(std::max(740, area.width * 7 / 10), std::max(576, area.height * 7 / 10));
  EXPECT_EQ(form.GetSize(), size);
  EXPECT_NEAR(form.GetPosition().x, area.x + (area.width - size.x) / 2, 2);

  ASSERT_EQ(form.PageControl1->GetPageCount(), 2u);
  EXPECT_EQ(form.PageControl1->GetPageText(0).utf8_string(), "分类");
  EXPECT_EQ(form.PageControl1->GetPageText(1).utf8_string(), "光盘");
  EXPECT_EQ(form.PageControl1->GetSelection(), 0);
  EXPECT_TRUE(form.TreeView1->HasFlag(wxTR_HIDE_ROOT));
  EXPECT_EQ(form.Splitter1->GetSashPosition(), 233);
  EXPECT_EQ(form.Splitter1->GetMinimumPaneSize(), 100);

  ASSERT_EQ(form.ListView1->ColumnCount(), 4);
  const char* const content[] = {"名称", "大小", "修改时间", "类型"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(form.ListView1->ColumnCaption(i), test::Gbk(content[i]));
  EXPECT_EQ(form.ListView1->ViewStyle(), ListViewStyle::Details);
  wxListCtrl* report = form.ListView1->ActiveList();
  EXPECT_EQ(report->GetColumnWidth(0), 250);
  // Wide enough for a DVD-sized file and a full date-time.
  EXPECT_GE(report->GetColumnWidth(1), std::max(80, report->GetTextExtent("2,929,687 KB").x));
  EXPECT_GE(report->GetColumnWidth(2), std::max(110, report->GetTextExtent("2006-03-03 09:07:02").x));
  wxListItem size_column;
  size_column.SetMask(wxLIST_MASK_FORMAT);
  report->GetColumn(1, size_column);
  EXPECT_EQ(size_column.GetAlign(), wxLIST_FORMAT_RIGHT);

  ASSERT_EQ(form.ListView2->GetColumnCount(), 5);
  const char* const results[] = {"名称", "大小", "修改时间", "所在文件夹", "类型"};
  const int widths[] = {250, 80, 110, 200};
  for (int i = 0; i < 5; ++i) {
    wxListItem column;
    column.SetMask(wxLIST_MASK_TEXT | wxLIST_MASK_FORMAT);
    form.ListView2->GetColumn(i, column);
    EXPECT_EQ(column.GetText().utf8_string(), results[i]);
    EXPECT_EQ(column.GetAlign(), i == 1 ? wxLIST_FORMAT_RIGHT : wxLIST_FORMAT_LEFT);
    if (i < 4) {
      EXPECT_GE(form.ListView2->GetColumnWidth(i), widths[i]);
    }
  }
  EXPECT_TRUE(form.ListView2->HasCheckBoxes());
  EXPECT_TRUE(form.ListView2->IsVirtual());

  ASSERT_EQ(form.StatusBar1->GetFieldsCount(), 3);
  EXPECT_EQ(form.StatusBar1->GetStatusWidth(0), -1);  // the rest of the window
  EXPECT_EQ(form.StatusBar1->GetStatusWidth(1), 100);
  EXPECT_EQ(form.StatusBar1->GetStatusWidth(2), 150);
  // Hints of the tool bar and the menus never take panel 1.
  EXPECT_EQ(form.GetStatusBarPane(), -1);
  // A long search summary widens its panel instead of being cut.
  const wxString summary = wxString::FromUTF8("找到12345个对象（678张光盘）");
  form.SetStatusPanel(2, summary);
  EXPECT_GE(form.StatusBar1->GetStatusWidth(2), form.StatusBar1->GetTextExtent(summary).x);
  wxRect panel;
  ASSERT_TRUE(form.StatusBar1->GetFieldRect(2, panel));
  EXPECT_GE(panel.width, form.StatusBar1->GetTextExtent(summary).x);
}

TEST_F(LayoutTest, ResultsPanelIsHiddenAtStartAndOpensAtTheBottom) {
  TForm1& form = StartForm();
  EXPECT_FALSE(form.ResultsPanelShown());
  EXPECT_FALSE(form.ResultsPanel->IsShown());
  form.ShowResultsPanel(true);
  Flush();
  EXPECT_TRUE(form.ResultsPanelShown());
  EXPECT_TRUE(form.ResultsPanel->IsShown());
  EXPECT_EQ(form.Splitter2->GetWindow2(), form.ResultsPanel);
  EXPECT_NEAR(form.ResultsPanel->GetSize().y, 100, 10);
  EXPECT_GT(form.Splitter1->GetSize().y, form.ResultsPanel->GetSize().y);
  // The height the user gives the panel is kept for the next search.
  form.Splitter2->SetSashPosition(form.Splitter2->GetSize().y - 200 - form.Splitter2->GetSashSize());
  Flush();
  const int height = form.ResultsPanel->GetSize().y;
  EXPECT_NEAR(height, 200, 10);
  form.ShowResultsPanel(false);
  EXPECT_FALSE(form.ResultsPanelShown());
  EXPECT_FALSE(form.ResultsPanel->IsShown());
  form.ShowResultsPanel(true);
  Flush();
  EXPECT_EQ(form.ResultsPanel->GetSize().y, height);
}

TEST_F(LayoutTest, TheCategoryTreeHasTheFocus) {
  TForm1& form = StartForm();
  EXPECT_EQ(wxWindow::FindFocus(), form.TreeView1);
}

}  // namespace
}  // namespace movra
