// The search command in the real window: the refusals, the find dialog's
// workflow, the rows of the results list for a disc, a category and the whole
// catalogue, missing snapshots, the progress window and its cancel button,
// and the results panel going with the button.
#include <gtest/gtest.h>

#include <wx/checkbox.h>
#include <wx/progdlg.h>
#include <wx/textctrl.h>

#include "window/app/SearchFeedback.h"
#include "window/controls/CategoryTrees.h"
#include "window/dialogs/ModalDialogs.h"
#include "window/dialogs/PropertiesBox.h"
#include "window/dialogs/Searchcd.h"
#include "platform/TextCodec.h"
#include "window/controls/WxText.h"
#include "support/MainWindowFixture.h"

namespace movra {
namespace {

using test::Gbk;

// Discs in document order: Star, Gone (no snapshot file), Loose, Blue.
const char* const kCatalogue =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>"
    "<T_影视><T_电影><D_Star><Title>Star</Title></D_Star><D_Gone><Title>Gone</Title></D_Gone></T_电影>"
    "<D_Loose><Title>Loose</Title></D_Loose></T_影视>"
    "<T_Music><T_Jazz><D_Blue><Title>Blue</Title></D_Blue></T_Jazz></T_Music>"
    "</CDLIST></root>";

const std::string kTime = "2006/3/3 9:07:02";

std::string FileLine(const std::string& folder, const std::string& name, long long size,
                     const std::string& time = kTime) {
  return folder + name + "[" + std::to_string(size) + "]" + time + "\r\n";
}
std::string FolderLine(const std::string& folder, const std::string& name, const std::string& time = kTime) {
  return folder + "|" + name + "[]" + time + "\r\n";
}

// What the scripted user does in the find dialog.
struct FindScript {
  std::string text = {};           // typed into 查找内容 (GBK)
  bool case_sensitive = false;
  bool literal = false;
  std::vector<const char*> pick = {};  // nodes clicked in the dialog's tree, each a path of UTF-8 texts from 全部 down
  bool start = true;               // 开始, else 取消
};

// What the dialog showed when it opened.
struct FindSeen {
  std::string location;
  bool location_is_disc = false;
  std::string text;
  bool case_sensitive = true;
  bool literal = true;
};

// The node of the dialog's tree named by UTF-8 texts below 全部 ("" for 全部 itself).
wxTreeItemId DialogNode(const wxTreeCtrl& tree, const std::string& path) {
  wxTreeItemId node = FirstTopNode(tree);  // 全部
  size_t from = 0;
  while (node.IsOk() && from < path.size()) {
    const size_t slash = path.find('/', from);
    const std::string part = path.substr(from, slash == std::string::npos ? std::string::npos : slash - from);
    wxTreeItemIdValue cookie;
    node = FindSiblingByText(tree, tree.GetFirstChild(node, cookie), Gbk(part.c_str()));
    from = slash == std::string::npos ? path.size() : slash + 1;
  }
  return node;
}

class SearchTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    WriteCatalogue(Gbk(kCatalogue));
    const std::string long_name(1500, 'x');
    WriteSnapshot("Star", FileLine("E:\\VIDEO\\", "a.mp3", 1048576) + FileLine("E:\\VIDEO\\", long_name + ".txt", 1) +
                              FileLine("E:\\VIDEO\\", "b.MP3.bak", 5, "2006/3/3") + FolderLine("E:\\", "VIDEO") +
                              FolderLine("E:\\", "MP3s"));
    WriteSnapshot("Loose", FileLine("F:\\", "song.mp3", 2048));
    // 0x81 0x41 is one double-byte character whose second byte is 'A'.
    WriteSnapshot("Blue", FileLine("G:\\", "blue.txt", 1) + FileLine("G:\\", "\x81\x41.doc", 1));
    SetDialogRunner([this](wxDialog& dialog) { return RunFindDialog(dynamic_cast<TFindFile&>(dialog)); });
  }
  void TearDown() override {
    SetDialogRunner({});
    SetSearchFeedbackTiming({});
    SetSearchFeedbackObserver({});
    MainWindowFixture::TearDown();
  }

  void WriteSnapshot(const char* disc, const std::string& bytes) {
    test::WriteBytes(ProgramFolder() + "/CDROM/" + disc + ".cdg", bytes);
  }

  int RunFindDialog(TFindFile& dialog) {
    ++dialogs_shown_;
    seen_ = {WxToGbk(dialog.edt2->GetValue()), dialog.LocationIsDisc(), dialog.SearchText(), dialog.CaseSensitive(),
             dialog.LiteralMatch()};
    dialog.edt1->SetValue(GbkToWx(script_.text));
    dialog.CheckBox1->SetValue(script_.case_sensitive);
    dialog.CheckBox2->SetValue(script_.literal);
    for (const char* path : script_.pick) {
      const wxTreeItemId node = DialogNode(*dialog.tv1, path);
      EXPECT_TRUE(node.IsOk()) << path;
      dialog.tv1->SelectItem(node);
    }
    if (script_.start) {
      dialog.btn2Click();
      return wxID_OK;
    }
    dialog.btn1Click();
    return wxID_CANCEL;
  }

  // Makes the category-tree node at a path of UTF-8 texts the current node.
  void SetLocation(const std::vector<const char*>& texts) {
    wxTreeCtrl& tree = *Form().TreeView1;
    wxTreeItemId node = FirstTopNode(tree);
    for (size_t i = 0; i < texts.size(); ++i) {
      node = FindSiblingByText(tree, node, Gbk(texts[i]));
      ASSERT_TRUE(node.IsOk()) << texts[i];
      if (i + 1 < texts.size()) {
        wxTreeItemIdValue cookie;
        node = tree.GetFirstChild(node, cookie);
      }
    }
    tree.SelectItem(node);
    Flush();
    Form().CurrentCategoryNode() = node;
  }

  // Presses the 搜索 button as a click does: the state flips, then the command runs.
  void PressSearchButton() {
    TForm1& form = Form();
    form.ToolBar1->ToggleTool(form.ToolButton10->GetId(), !ButtonDown());
    form.ToolButton10Click();
    Flush();
  }
  // Starts a search from the button up with the script.
  void Search(FindScript script) {
    script_ = std::move(script);
    ASSERT_FALSE(ButtonDown());
    PressSearchButton();
  }

  bool ButtonDown() { return Form().ToolBar1->GetToolState(Form().ToolButton10->GetId()); }
  bool PanelShown() { return Form().ResultsPanelShown() && Form().ResultsPanel->IsShown(); }
  size_t RowCount() { return static_cast<size_t>(Form().ListView2->GetItemCount()); }
  // Column 名称 of every row, as UTF-8 (header rows as they read).
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (size_t i = 0; i < RowCount(); ++i) names.push_back(GbkToUtf8(Form().ListView2->CellText(i, kResultsName)));
    return names;
  }
  // Every column of a row as the list shows it, as UTF-8 joined by '|'.
  std::string RowText(long row) {
    std::string out;
    for (long column = 0; column < 5; ++column) {
      if (column > 0) out += '|';
      out += Form().ListView2->GetItemText(row, column).utf8_string();
    }
    return out;
  }
  // A double click on a results row.
  void Activate(long row) {
    wxListEvent activated(wxEVT_LIST_ITEM_ACTIVATED, Form().ListView2->GetId());
    activated.SetEventObject(Form().ListView2);
    activated.m_itemIndex = row;
    Form().ListView2->GetEventHandler()->ProcessEvent(activated);
    Flush();
  }
  // Captions of the content list's selected rows, as UTF-8 joined by blanks.
  std::string SelectedCaptions() {
    std::string out;
    for (std::size_t i : Form().ListView1->Model().SelectedIndexes())
      out += (out.empty() ? "" : " ") + GbkToUtf8(Form().ListView1->Model().Row(i).caption);
    return out;
  }
  std::string StatusPanel3() { return Form().StatusBar1->GetStatusText(2).utf8_string(); }
  std::string SnapshotPath(const char* disc) { return ProgramFolder() + "/CDROM/" + disc + ".cdg"; }

  FindScript script_;
  FindSeen seen_;
  int dialogs_shown_ = 0;
};

TEST_F(SearchTest, WithoutACategoryOrDiscNodeTheSearchIsRefused) {
  TForm1& form = StartForm();
  form.CurrentCategoryNode() = wxTreeItemId();
  form.N50Click();  // the menu flips the button down and runs the command
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{Gbk("请选择搜索位置（类别／光盘）！")}));

  EXPECT_EQ(dialogs_shown_, 0);
  EXPECT_FALSE(ButtonDown());
  EXPECT_FALSE(PanelShown());
  EXPECT_EQ(RowCount(), 0u);
}

TEST_F(SearchTest, AFolderNodeSearchesItsDisc) {
  TForm1& form = StartForm();
  SetLocation({"影视", "电影", "Star"});
  form.CurrentCategoryNode() = AddNode(*form.TreeView1, form.CurrentCategoryNode(), "VIDEO", kFolderImage);
  Search({.text = "song"});
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_EQ(dialogs_shown_, 1);
  EXPECT_EQ(seen_.location, Gbk("影视\\电影\\Star\\"));
  EXPECT_TRUE(seen_.location_is_disc);
  EXPECT_EQ(Names(), (std::vector<std::string>{"[ Star ]"}));
}

TEST_F(SearchTest, CancelAnEmptyTextOrALocationThatNamesNothingEndsQuietlyWithTheButtonUp) {
  StartForm();
  SetLocation({"影视"});
  Search({.text = "mp3", .start = false});
  EXPECT_EQ(dialogs_shown_, 1);
  Search({.text = ""});
  EXPECT_EQ(dialogs_shown_, 2);
  // The catalogue lost the category after the tree was filled.
  ASSERT_TRUE(Form().Catalogue().RemoveByPath(Gbk("T_影视\\")));
  Search({.text = "mp3"});
  EXPECT_EQ(dialogs_shown_, 3);

  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_FALSE(ButtonDown());
  EXPECT_FALSE(PanelShown());
  EXPECT_EQ(RowCount(), 0u);
}

TEST_F(SearchTest, ADiscLocationGivesItsHeaderThenItsMatchesInFileOrder) {
  TForm1& form = StartForm();
  SetLocation({"影视", "电影", "Star"});
  Search({.text = "MP3"});

  EXPECT_EQ(seen_.location, Gbk("影视\\电影\\Star\\"));
  EXPECT_TRUE(seen_.location_is_disc);
  EXPECT_TRUE(ButtonDown());
  EXPECT_TRUE(PanelShown());
  EXPECT_TRUE(MessagesShown().empty());
  // Case-insensitive by default; folders match by their own name.
  ASSERT_EQ(RowCount(), 4u);
  EXPECT_EQ(RowText(0), "[ Star ]||||光盘");
  EXPECT_EQ(RowText(1), "a.mp3|1,024 KB|2006-03-03 09:07:02|E:\\VIDEO\\|文件");
  EXPECT_EQ(RowText(2), "b.MP3.bak|1 KB|2006-03-03 00:00:00|E:\\VIDEO\\|文件");
  EXPECT_EQ(RowText(3), "MP3s|0 KB|2006-03-03 09:07:02|E:\\|目录");

  ResultsListCtrl& list = *form.ListView2;
  EXPECT_TRUE(list.GetItemFont(0).GetWeight() == wxFONTWEIGHT_BOLD);
  const wxFont entry_font = list.GetItemFont(1);  // none of its own: the list's font
  EXPECT_TRUE(!entry_font.IsOk() || entry_font.GetWeight() != wxFONTWEIGHT_BOLD);
  EXPECT_EQ(list.RowIcon(0), form.Icons().DiscIconIndex());
  EXPECT_EQ(list.RowIcon(1), form.Icons().IconOfExtension(".mp3"));
  EXPECT_EQ(list.RowIcon(2), form.Icons().IconOfExtension(".bak"));
  EXPECT_EQ(list.RowIcon(3), form.Icons().FolderIconIndex());
  EXPECT_EQ(StatusPanel3(), "找到3个对象（1张光盘）");
}

TEST_F(SearchTest, ACategoryGivesItsDiscsDepthFirstAndReportsAMissingSnapshot) {
  StartForm();
  SetLocation({"影视"});
  Search({.text = "*.mp3"});

  EXPECT_FALSE(seen_.location_is_disc);
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{Gbk(("光盘(" + SnapshotPath("Gone") + ")不存在！").c_str())}));
  // The rest after '*' has no wildcard, so it is found anywhere in the name.
  EXPECT_EQ(Names(), (std::vector<std::string>{"[ 影视\\电影\\Star ]", "a.mp3", "b.MP3.bak", "[ 影视\\Loose ]",
                                               "song.mp3"}));
  EXPECT_EQ(StatusPanel3(), "找到3个对象（2张光盘）");
  EXPECT_TRUE(ButtonDown());
}

TEST_F(SearchTest, PickingAllInTheDialogSearchesEveryDiscFromItsMainCategory) {
  StartForm();
  SetLocation({"影视", "电影", "Star"});
  // The tree's first selection of 全部 is taken for its own first focus, so the user clicks another node first.
  Search({.text = "blue", .pick = {"Music", ""}});

  EXPECT_EQ(seen_.location, Gbk("影视\\电影\\Star\\"));  // preset, then changed in the tree
  EXPECT_EQ(Names(), (std::vector<std::string>{"[ 影视\\电影\\Star ]", "[ 影视\\Loose ]", "[ Music\\Jazz\\Blue ]",
                                               "blue.txt"}));
  EXPECT_EQ(MessagesShown().size(), 1u);  // Gone
}

TEST_F(SearchTest, TheOptionsReachTheMatch) {
  StartForm();
  SetLocation({"Music"});
  // A double-byte character whose second byte is 'A' never matches 'a'.
  Search({.text = "a"});
  EXPECT_EQ(Names(), (std::vector<std::string>{"[ Music\\Jazz\\Blue ]"}));

  PressSearchButton();  // up
  SetLocation({"影视", "电影", "Star"});
  Search({.text = "MP3", .case_sensitive = true});
  EXPECT_EQ(Names(), (std::vector<std::string>{"[ Star ]", "b.MP3.bak", "MP3s"}));

  PressSearchButton();
  Search({.text = "*.mp3", .literal = true});
  EXPECT_EQ(Names(), (std::vector<std::string>{"[ Star ]"}));
  EXPECT_EQ(StatusPanel3(), "找到0个对象（1张光盘）");
}

TEST_F(SearchTest, ALineLongerThanAnyBufferIsSearchedAndSoAreTheLinesAfterIt) {
  StartForm();
  SetLocation({"影视", "电影", "Star"});
  Search({.text = "xxx*.txt"});
  ASSERT_EQ(RowCount(), 2u);
  EXPECT_EQ(Names()[1], std::string(1500, 'x') + ".txt");
  PressSearchButton();
  Search({.text = "b.mp3"});
  EXPECT_EQ(Names(), (std::vector<std::string>{"[ Star ]", "b.MP3.bak"}));
}

TEST_F(SearchTest, TheButtonGoingUpEmptiesAndHidesTheResultsAndTheDialogOffersTheLastSearch) {
  TForm1& form = StartForm();
  SetLocation({"影视", "电影", "Star"});
  Search({.text = "mp3", .case_sensitive = true, .literal = true});
  ASSERT_TRUE(PanelShown());
  ASSERT_GT(RowCount(), 0u);

  form.N50Click();  // down -> up
  Flush();
  EXPECT_FALSE(ButtonDown());
  EXPECT_FALSE(PanelShown());
  EXPECT_EQ(RowCount(), 0u);
  EXPECT_TRUE(form.ListView2->Rows().empty());
  EXPECT_EQ(StatusPanel3(), "");
  EXPECT_EQ(dialogs_shown_, 1);

  script_ = {.text = "song", .pick = {"影视"}};
  form.N12Click();  // the category menu's 搜索 flips the button down again
  Flush();
  EXPECT_EQ(dialogs_shown_, 2);
  EXPECT_EQ(seen_.text, "mp3");
  EXPECT_TRUE(seen_.case_sensitive);
  EXPECT_TRUE(seen_.literal);
  EXPECT_TRUE(ButtonDown());
  EXPECT_EQ(Names(), (std::vector<std::string>{"[ 影视\\电影\\Star ]", "[ 影视\\Loose ]", "song.mp3"}));
}

TEST_F(SearchTest, AQuickSearchShowsNoProgressWindow) {
  int updates = 0;
  SetSearchFeedbackObserver([&updates](wxProgressDialog&) { ++updates; });
  StartForm();
  SetLocation({"影视"});
  Search({.text = "mp3"});
  EXPECT_EQ(updates, 0);
  EXPECT_EQ(RowCount(), 6u);
}

TEST_F(SearchTest, StoppingTheSearchInTheProgressWindowKeepsTheRowsFoundSoFar) {
  std::vector<std::string> messages;
  SetSearchFeedbackTiming({.delay = std::chrono::milliseconds(0), .interval = std::chrono::milliseconds(0)});
  SetSearchFeedbackObserver([&messages](wxProgressDialog& dialog) {
    messages.push_back(dialog.GetMessage().utf8_string());
    if (messages.size() < 2) return;
    // The second update: the user presses 取消.
    wxWindow* cancel = dialog.FindWindow(wxID_CANCEL);
    ASSERT_NE(cancel, nullptr);
    wxCommandEvent click(wxEVT_BUTTON, wxID_CANCEL);
    click.SetEventObject(cancel);
    cancel->GetEventHandler()->ProcessEvent(click);
  });
  StartForm();
  SetLocation({"影视", "电影", "Star"});
  Search({.text = "o", .pick = {"Music", ""}});

  // After Star the window names the next disc; after Gone (missing) it is stopped.
  EXPECT_EQ(messages, (std::vector<std::string>{"正在搜索：影视\\电影\\Gone", "正在搜索：影视\\Loose"}));
  EXPECT_EQ(Names(), (std::vector<std::string>{"[ 影视\\电影\\Star ]", "VIDEO"}));
  EXPECT_EQ(MessagesShown().size(), 1u);
  EXPECT_TRUE(ButtonDown());
  EXPECT_TRUE(PanelShown());
  EXPECT_EQ(StatusPanel3(), "找到1个对象（1张光盘）");
  EXPECT_TRUE(Form().IsEnabled());  // the window answers again
}

TEST_F(SearchTest, ATimeThatIsNoDateTimeEndsTheSearchWithAnErrorAndKeepsTheRows) {
  WriteSnapshot("Star", FileLine("E:\\", "one.mp3", 1) + FileLine("E:\\", "two.mp3", 1, "yesterday") +
                            FileLine("E:\\", "three.mp3", 1));
  StartForm();
  SetLocation({"影视"});
  Search({.text = "mp3"});
  ASSERT_EQ(MessagesShown().size(), 1u);
  EXPECT_NE(MessagesShown()[0].find("yesterday"), std::string::npos) << MessagesShown()[0];
  // Nothing after the bad line, not even the other discs.
  EXPECT_EQ(Names(), (std::vector<std::string>{"[ 影视\\电影\\Star ]", "one.mp3"}));
  EXPECT_TRUE(ButtonDown());
  EXPECT_TRUE(PanelShown());
}

TEST_F(SearchTest, TheResultsListOpensItsOwnMenuAndSharesTheContentListsHandlers) {
  TForm1& form = StartForm();
  SetLocation({"影视", "电影", "Star"});
  Search({.text = "mp3"});

  wxContextMenuEvent menu(wxEVT_CONTEXT_MENU, form.ListView2->GetId(), wxPoint(300, 400));
  menu.SetEventObject(form.ListView2);
  form.ListView2->GetEventHandler()->ProcessEvent(menu);
  ASSERT_EQ(Popups().size(), 1u);
  EXPECT_EQ(Popups()[0].menu, form.PopupMenu5);
  EXPECT_EQ(Popups()[0].screen, wxPoint(300, 400));

  // A double click (or Enter) on a result goes to it: its folder is selected
  // in the category tree, listed, and the entry selected in the list.
  Activate(1);
  const wxTreeItemId video = form.TreeView1->GetSelection();
  EXPECT_EQ(NodePath(*form.TreeView1, video), Gbk("影视\\电影\\Star\\E:\\VIDEO\\"));
  EXPECT_EQ(SelectedCaptions(), "a.mp3");
  EXPECT_EQ(form.StatusBar1->GetStatusText(0).utf8_string(), "选定了1个对象");
  // Back leads to where the user was: one visit for the jump.
  form.GoBack();
  EXPECT_EQ(NodePath(*form.TreeView1, form.TreeView1->GetSelection()), Gbk("影视\\电影\\Star\\"));
  // An entry of the root folder, seen from the disc tab; then a header selects its disc.
  form.PageControl1->SetSelection(1);
  Flush();
  Activate(3);
  EXPECT_EQ(form.PageControl1->GetSelection(), 0);
  EXPECT_EQ(NodePath(*form.TreeView1, form.TreeView1->GetSelection()), Gbk("影视\\电影\\Star\\E:\\"));
  EXPECT_EQ(SelectedCaptions(), "MP3s");
  Activate(0);
  EXPECT_EQ(NodePath(*form.TreeView1, form.TreeView1->GetSelection()), Gbk("影视\\电影\\Star\\"));
  EXPECT_EQ(RowCount(), 4u);
  EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(SearchTest, CopyAndPropertiesOfResults) {
  TForm1& form = StartForm();
  SetLocation({"影视"});
  Search({.text = "mp3"});
  ASSERT_EQ(Names(), (std::vector<std::string>{"[ 影视\\电影\\Star ]", "a.mp3", "b.MP3.bak", "MP3s", "[ 影视\\Loose ]",
                                               "song.mp3"}));
  std::vector<wxString> copied;
  form.put_on_clipboard = [&copied](const wxString& text) { copied.push_back(text); };
  form.N26Click();  // nothing chosen: nothing copied
  EXPECT_TRUE(copied.empty());
  // The selected and the checked rows, in list order, one line each.
  form.ListView2->SetItemState(5, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  form.ListView2->CheckItem(1, true);
  form.N26Click();
  ASSERT_EQ(copied.size(), 1u);
  EXPECT_EQ(copied[0].utf8_string(), "影视\\电影\\Star\\E:\\VIDEO\\a.mp3\t1,024 KB\n影视\\Loose\\F:\\song.mp3\t2 KB\n");

  std::vector<std::string> shown;
  SetDialogRunner([&shown](wxDialog& dialog) {
    for (const PropertyLine& line : dynamic_cast<TPropertiesBox&>(dialog).Lines())
      shown.push_back(GbkToUtf8(line.label + line.value));
    return wxID_OK;
  });
  form.MenuItem14Click();  // the first selected row: song.mp3
  EXPECT_EQ(shown, (std::vector<std::string>{"名称：song.mp3", "光盘：Loose", "路径：F:\\song.mp3", "类型：文件",
                                             "大小：2,048 字节（2 KB）", "修改时间：2006-03-03 09:07:02"}));
  shown.clear();
  form.ListView2->SetItemState(5, 0, wxLIST_STATE_SELECTED);
  form.ListView2->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  form.MenuItem14Click();  // a header: the disc's own properties
  ASSERT_EQ(shown.size(), 6u);
  EXPECT_EQ(shown[0], "光盘名：Star");
  EXPECT_EQ(shown[1], "分类：影视\\电影");
  EXPECT_EQ(shown[4], "对象：4 个");  // the over-long name is not in the snapshot's index
  EXPECT_EQ(shown[5], "总大小：1,048,581 字节（1 MB）");
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

TEST_F(SearchTest, TheIndexIsBuiltInTheBackgroundAndSearchesFindTheSameRowsBeforeAfterAndAfterAChangeByHand) {
  TForm1& form = StartForm();
  SetLocation({"影视"});
  Search({.text = "*.mp3"});  // perhaps before the index is ready: the files are read
  const std::vector<std::string> before = Names();
  PressSearchButton();
  for (int i = 0; i < 1000 && !form.NameIndexKeeper().Ready(); ++i) {
    Flush();
    wxMilliSleep(5);
  }
  ASSERT_TRUE(form.NameIndexKeeper().Ready());
  EXPECT_TRUE(test::PathExists(ProgramFolder() + "/CDROM/.index/complete"));
  EXPECT_EQ(StatusPanel3(), "");

  Search({.text = "*.mp3"});
  EXPECT_EQ(Names(), before);
  PressSearchButton();
  WriteSnapshot("Loose", FileLine("F:\\", "tune.mp3", 1));
  Search({.text = "*.mp3"});
  EXPECT_EQ(Names().back(), "tune.mp3");
}

}  // namespace
}  // namespace movra
