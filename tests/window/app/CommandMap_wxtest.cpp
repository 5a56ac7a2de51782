// The command map in the real window. Keys are typed through the X test
// extension of the virtual display, so they take the toolkit's whole road:
// key preview, focused control, menu accelerators. A recorder pushed onto
// the window counts the menu and tool commands that arrive (and keeps them
// from running, so these tests do not depend on what the commands do).
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/weakref.h>
#include <wx/time.h>
#include <wx/utils.h>

#include "window/dialogs/About.h"
#include "window/platform/LinkOpener.h"
#include "window/dialogs/ModalDialogs.h"
#include "support/BrowseSupport.h"
#include "support/RecordingOpener.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using test::Gbk;
using test::NodeAt;

const char* const kCatalogue =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>"
    "<T_电影><D_DVD1><Title>DVD1</Title><Time>2006/3/3</Time><Memo>m</Memo></D_DVD1>"
    "<T_动作><D_光盘2><Title>光盘2</Title></D_光盘2></T_动作></T_电影>"
    "<T_软件><T_工具><D_T1><Title>T1</Title></D_T1></T_工具></T_软件>"
    "</CDLIST></root>";

// Records the commands that reach the window and swallows them.
class CommandRecorder : public wxEvtHandler {
 public:
  explicit CommandRecorder(wxWindow& window) : window_(window) {
    Bind(wxEVT_MENU, &CommandRecorder::Record, this);
    Bind(wxEVT_TOOL, &CommandRecorder::Record, this);
    window_.PushEventHandler(this);
  }
  ~CommandRecorder() override { window_.RemoveEventHandler(this); }

  // Ids of the commands recorded since the last call, in order.
  std::vector<int> Take() { return std::exchange(ids_, {}); }

 private:
  void Record(wxCommandEvent& event) { ids_.push_back(event.GetId()); }
  wxWindow& window_;
  std::vector<int> ids_;
};

class CommandMapTest : public test::BrowseFixture {
 protected:
  void SetUp() override {
    BrowseFixture::SetUp();
  }
  void TearDown() override {
    SetDialogRunner({});
    BrowseFixture::TearDown();
  }

  TForm1& Start(const char* catalogue = kCatalogue) {
    WriteCatalogue(Gbk(catalogue));
    test::WriteTestSnapshot(ProgramFolder(), "DVD1",
                            {{"E:\\", "VIDEO", -1}, {"E:\\", "a.txt", 10}, {"E:\\", "b.txt", 20}});
    TForm1& form = StartForm();
    EXPECT_TRUE(form.IsActive()) << "the window never got the keyboard focus";
    form.Bind(wxEVT_CHAR_HOOK, [this](wxKeyEvent& event) {
      if (!IsModifier(event.GetKeyCode())) ++keys_seen_;
      event.Skip();
    });
    Focus(form.TreeView1);
    return form;
  }

  // Gives a control the keyboard focus.
  static void Focus(wxWindow* window) {
    window->SetFocus();
    Flush();
  }
  // Types a key as a user would and waits until the window has handled it.
  void Type(int key, int modifiers = wxMOD_NONE) {
    const int before = keys_seen_;
    wxUIActionSimulator().Char(key, modifiers);
    const wxLongLong deadline = wxGetLocalTimeMillis() + 3000;
    while (keys_seen_ == before && wxGetLocalTimeMillis() < deadline) {
      Flush();
      wxMilliSleep(1);
    }
    ASSERT_GT(keys_seen_, before) << "the key never reached the window";
    Flush();
  }
  // Clicks with the mouse at a point of a window's client area.
  static void ClickAt(wxWindow* window, const wxPoint& client, int button = wxMOUSE_BTN_LEFT) {
    wxUIActionSimulator sim;
    sim.MouseMove(window->ClientToScreen(client));
    Flush();
    sim.MouseClick(button);
    for (int i = 0; i < 20; ++i) {
      Flush();
      wxMilliSleep(5);
    }
  }
  // Counts the key-down events a control receives after the key preview.
  static void CountKeyDowns(wxWindow* window, std::vector<int>& codes) {
    window->Bind(wxEVT_KEY_DOWN, [&codes](wxKeyEvent& event) {
      if (!IsModifier(event.GetKeyCode())) codes.push_back(event.GetKeyCode());
      event.Skip();
    });
  }
  static bool IsModifier(int key) {
    return key == WXK_CONTROL || key == WXK_SHIFT || key == WXK_ALT || key == WXK_RAW_CONTROL;
  }

  // The disc DVD1's root folder listed: the view styles are available.
  void ShowDvd1Root() {
    TForm1& form = Form();
    Select(*form.TreeView1, NodeAt(*form.TreeView1, {"电影", "DVD1"}));
    Select(*form.TreeView1, NodeAt(*form.TreeView1, {"电影", "DVD1", "E:"}));
    ASSERT_EQ(form.ListView1->Model().Count(), 3u);
  }

  // Chooses an item of a pop-up menu: its command goes to the window that opened the menu.
  static void Choose(TForm1& form, wxMenuItem* item) {
    wxCommandEvent event(wxEVT_MENU, item->GetId());
    event.SetEventObject(item->GetMenu());
    form.ProcessWindowEvent(event);
    Flush();
  }

  static std::vector<int> Ids(std::initializer_list<const wxMenuItem*> items) {
    std::vector<int> ids;
    for (const wxMenuItem* item : items) ids.push_back(item->GetId());
    return ids;
  }
  static std::vector<int> Ids(const wxToolBarToolBase* tool) { return {tool->GetId()}; }

  test::RecordingOpener opener_;
  int keys_seen_ = 0;
};

// ---- Keys -----------------------------------------------------------------------

TEST_F(CommandMapTest, ShortcutKeysRunTheirItemOnceAndNeverReachTheFocusedControl) {
  TForm1& form = Start();
  std::vector<int> tree_keys, list_keys;
  CountKeyDowns(form.TreeView1, tree_keys);
  for (wxWindow* inner : form.ListView1->ActiveList()->GetChildren()) CountKeyDowns(inner, list_keys);
  CommandRecorder recorder(form);

  // Each of these keys also carries an accelerator on its menu item: one run only.
  Type('V', wxMOD_CONTROL);
  EXPECT_EQ(recorder.Take(), Ids({form.N37}));
  Type('F', wxMOD_CONTROL);
  EXPECT_EQ(recorder.Take(), Ids({form.N50}));
  Type('F', wxMOD_CONTROL | wxMOD_SHIFT);  // other modifiers do not matter
  EXPECT_EQ(recorder.Take(), Ids({form.N50}));
  Type('A', wxMOD_CONTROL);
  EXPECT_EQ(recorder.Take(), Ids({form.N46}));
  EXPECT_TRUE(tree_keys.empty());

  // The same with the content list focused (a list could take Ctrl+A for itself).
  Focus(form.ListView1->ActiveList());
  Type('A', wxMOD_CONTROL);
  EXPECT_EQ(recorder.Take(), Ids({form.N46}));
  Type('V', wxMOD_CONTROL | wxMOD_ALT);
  EXPECT_EQ(recorder.Take(), Ids({form.N37}));
  EXPECT_TRUE(list_keys.empty());
}

TEST_F(CommandMapTest, HelpAndRefreshKeysWorkEverywhereAndStillReachTheFocusedControl) {
  TForm1& form = Start();
  std::vector<int> tree_keys, list_keys;
  CountKeyDowns(form.TreeView1, tree_keys);
  for (wxWindow* inner : form.ListView1->ActiveList()->GetChildren()) CountKeyDowns(inner, list_keys);
  CommandRecorder recorder(form);

  Type(WXK_F1);
  EXPECT_EQ(recorder.Take(), Ids({form.N3}));
  Type(WXK_F5);
  EXPECT_EQ(recorder.Take(), Ids({form.N57}));
  EXPECT_EQ(tree_keys, (std::vector<int>{WXK_F1, WXK_F5}));

  Focus(form.ListView1->ActiveList());
  Type(WXK_F5, wxMOD_CONTROL);
  EXPECT_EQ(recorder.Take(), Ids({form.N57}));
  EXPECT_EQ(list_keys, (std::vector<int>{WXK_F5}));
}

TEST_F(CommandMapTest, AltArrowsStepThroughTheHistoryOnlyWhileTheirButtonIsEnabled) {
  TForm1& form = Start();
  std::vector<int> tree_keys;
  CountKeyDowns(form.TreeView1, tree_keys);
  CommandRecorder recorder(form);

  // Disabled at start: nothing runs, and the tree does not get the arrow either.
  Type(WXK_LEFT, wxMOD_ALT);
  Type(WXK_RIGHT, wxMOD_ALT);
  EXPECT_TRUE(recorder.Take().empty());
  EXPECT_TRUE(tree_keys.empty());

  form.ToolBar1->EnableTool(form.ToolButton1->GetId(), true);
  Type(WXK_LEFT, wxMOD_ALT);
  EXPECT_EQ(recorder.Take(), Ids(form.ToolButton1));
  Type(WXK_RIGHT, wxMOD_ALT);
  EXPECT_TRUE(recorder.Take().empty());
  form.ToolBar1->EnableTool(form.ToolButton13->GetId(), true);
  Type(WXK_RIGHT, wxMOD_ALT | wxMOD_CONTROL);
  EXPECT_EQ(recorder.Take(), Ids(form.ToolButton13));
  EXPECT_TRUE(tree_keys.empty());

  // Without Alt the arrows belong to the focused control.
  Type(WXK_LEFT);
  EXPECT_TRUE(recorder.Take().empty());
  EXPECT_EQ(tree_keys, std::vector<int>{WXK_LEFT});
}

TEST_F(CommandMapTest, AltLeftReallyGoesBack) {
  TForm1& form = Start();
  const wxTreeItemId films = NodeAt(*form.TreeView1, {"电影"});
  const wxTreeItemId software = NodeAt(*form.TreeView1, {"软件"});
  Select(*form.TreeView1, films);
  Select(*form.TreeView1, software);
  ASSERT_TRUE(form.ToolBar1->GetToolEnabled(form.ToolButton1->GetId()));
  Type(WXK_LEFT, wxMOD_ALT);
  EXPECT_EQ(SelectedNode(*form.TreeView1), films);
  Type(WXK_RIGHT, wxMOD_ALT);
  EXPECT_EQ(SelectedNode(*form.TreeView1), software);
}

TEST_F(CommandMapTest, CopyKeyDoesNothingWhateverIsSelected) {
  TForm1& form = Start();
  ShowDvd1Root();
  form.SelectAllContent();
  Flush();
  ASSERT_TRUE(form.N45->IsEnabled());
  const std::string catalogue = test::ReadBytes(CataloguePath());
  {
    // The accelerator of 复制 fires, but no handler takes its command.
    CommandRecorder recorder(form);
    Type('C', wxMOD_CONTROL);
    EXPECT_EQ(recorder.Take(), Ids({form.N45}));
  }
  Type('C', wxMOD_CONTROL);
  EXPECT_EQ(form.ListView1->Model().SelectedCount(), 3u);
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_EQ(test::ReadBytes(CataloguePath()), catalogue);
}

TEST_F(CommandMapTest, DeleteKeyRunsDeleteOnlyAfterAClickLeftANodeSelectedInTheCategoryTree) {
  TForm1& form = Start();
  CommandRecorder recorder(form);
  // Start-up selected a node, but only a click enables 删除.
  ASSERT_TRUE(SelectedNode(*form.TreeView1).IsOk());
  EXPECT_FALSE(form.N47->IsEnabled());
  Type(WXK_DELETE);
  EXPECT_TRUE(recorder.Take().empty());

  const wxTreeItemId software = NodeAt(*form.TreeView1, {"软件"});
  wxRect rect;
  ASSERT_TRUE(form.TreeView1->GetBoundingRect(software, rect, true));
  ClickAt(form.TreeView1, rect.GetPosition() + wxPoint(3, rect.height / 2));
  EXPECT_EQ(SelectedNode(*form.TreeView1), software);
  EXPECT_TRUE(form.N47->IsEnabled());
  Type(WXK_DELETE);
  EXPECT_EQ(recorder.Take(), Ids({form.N47}));

  // A click below the last node keeps the selection, and 删除 with it.
  ClickAt(form.TreeView1, wxPoint(5, form.TreeView1->GetClientSize().y - 5));
  EXPECT_TRUE(form.N47->IsEnabled());
}

TEST_F(CommandMapTest, AClickInAnEmptyCategoryTreeLeavesDeleteDisabled) {
  TForm1& form = Start("<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST></CDLIST></root>");
  form.N47->Enable(true);
  ClickAt(form.TreeView1, wxPoint(20, 10));
  EXPECT_FALSE(form.N47->IsEnabled());
  CommandRecorder recorder(form);
  Type(WXK_DELETE);
  EXPECT_TRUE(recorder.Take().empty());
}

TEST_F(CommandMapTest, EditingANodeNameKeepsTheEditingKeysInTheTextField) {
  TForm1& form = Start();
  const wxTreeItemId software = NodeAt(*form.TreeView1, {"软件"});
  Select(*form.TreeView1, software);
  wxWeakRef<wxTextCtrl> editor = form.TreeView1->EditLabel(software);
  ASSERT_TRUE(editor);
  Focus(editor);
  ASSERT_TRUE(editor) << "the editor closed by itself";
  editor->SetValue("abc");
  editor->SetInsertionPointEnd();
  form.N47->Enable(true);
  CommandRecorder recorder(form);
  Type('A', wxMOD_CONTROL);
  Type(WXK_DELETE);
  EXPECT_TRUE(recorder.Take().empty());
  ASSERT_TRUE(editor);
  EXPECT_EQ(editor->GetValue(), "");  // selected by Ctrl+A, then deleted
  form.TreeView1->EndEditLabel(software, true);
  Flush();
}

// ---- Enabling of the Edit menu --------------------------------------------------------

TEST_F(CommandMapTest, CopyFollowsTheContentSelection) {
  TForm1& form = Start();
  ShowDvd1Root();
  EXPECT_FALSE(form.N45->IsEnabled());

  // A real click on a row selects it.
  wxListCtrl* list = form.ListView1->ActiveList();
  wxRect row;
  ASSERT_TRUE(list->GetItemRect(1, row));
  ClickAt(list, row.GetPosition() + wxPoint(20, row.height / 2));
  EXPECT_EQ(form.ListView1->Model().SelectedCount(), 1u);
  EXPECT_TRUE(form.N45->IsEnabled());

  form.InvertContentSelection();
  Flush();
  EXPECT_EQ(form.ListView1->Model().SelectedCount(), 2u);
  EXPECT_TRUE(form.N45->IsEnabled());
  form.SelectAllContent();
  form.InvertContentSelection();
  Flush();
  EXPECT_EQ(form.ListView1->Model().SelectedCount(), 0u);
  EXPECT_FALSE(form.N45->IsEnabled());
}

TEST_F(CommandMapTest, AClickEnablesCopyForASelectionMadeQuietlyButNeverDisablesIt) {
  TForm1& form = Start();
  ShowDvd1Root();
  // Rows selected without a change notification, as a refill may leave them.
  auto select_quietly = [&form](bool selected) {
    ContentListCtrl::Quiet quiet(*form.ListView1);
    for (std::size_t i = 0; i < form.ListView1->Model().Count(); ++i) form.ListView1->Model().SetSelected(i, selected);
    form.ListView1->RefreshFromModel();
  };
  auto click = [&form] {
    for (wxWindow* inner : form.ListView1->ActiveList()->GetChildren()) {
      wxMouseEvent up(wxEVT_LEFT_UP);
      up.SetEventObject(inner);
      inner->ProcessWindowEvent(up);
    }
    Flush();
  };
  select_quietly(true);
  EXPECT_FALSE(form.N45->IsEnabled());
  click();
  EXPECT_TRUE(form.N45->IsEnabled());
  select_quietly(false);
  click();
  EXPECT_TRUE(form.N45->IsEnabled());
}

TEST_F(CommandMapTest, ARightClickOpensTheListsOwnMenuOnce) {
  TForm1& form = Start();
  ShowDvd1Root();
  wxListCtrl* list = form.ListView1->ActiveList();
  wxRect row;
  ASSERT_TRUE(list->GetItemRect(0, row));
  ClickAt(list, row.GetPosition() + wxPoint(20, row.height / 2), wxMOUSE_BTN_RIGHT);
  ASSERT_EQ(Popups().size(), 1u);
  EXPECT_EQ(Popups()[0].menu, form.PopupMenu2);
  ClickAt(list, wxPoint(30, list->GetClientSize().y - 10), wxMOUSE_BTN_RIGHT);  // below the rows
  ASSERT_EQ(Popups().size(), 2u);
  EXPECT_EQ(Popups()[1].menu, form.PopupMenu2);

  form.ShowResultsPanel(true);
  form.ListView2->Rows().AddDisc("DVD1");
  form.ListView2->ShowRows();
  Flush();
  ClickAt(form.ListView2, wxPoint(60, form.ListView2->GetClientSize().y / 2), wxMOUSE_BTN_RIGHT);
  ASSERT_GT(Popups().size(), 2u);
  EXPECT_EQ(Popups().back().menu, form.PopupMenu5);
}

// ---- View styles ---------------------------------------------------------------------

struct ViewLook {
  ListViewStyle style;
  std::vector<bool> pressed;  // ToolButton2 to ToolButton5
  std::vector<bool> checked;  // N52, N53, L1, D1
  bool operator==(const ViewLook&) const = default;
};

ViewLook LookOf(TForm1& form) {
  ViewLook look{form.ListView1->ViewStyle(), {}, {}};
  for (auto* tool : {form.ToolButton2, form.ToolButton3, form.ToolButton4, form.ToolButton5})
    look.pressed.push_back(form.ToolBar1->GetToolState(tool->GetId()));
  for (auto* item : {form.N52, form.N53, form.L1, form.D1}) look.checked.push_back(item->IsChecked());
  return look;
}

TEST_F(CommandMapTest, SmallIconsLookTheSameFromTheToolBarTheMainMenuAndTheContextMenu) {
  TForm1& form = Start();
  ShowDvd1Root();
  const ViewLook small_icons{ListViewStyle::SmallIcons, {false, true, false, false}, {false, true, false, false}};
  const ViewLook details{ListViewStyle::Details, {false, false, false, true}, {false, false, false, true}};

  // The tool button, as a click sends it.
  wxCommandEvent tool(wxEVT_TOOL, form.ToolButton3->GetId());
  tool.SetEventObject(form.ToolBar1);
  form.ToolBar1->ProcessWindowEvent(tool);
  EXPECT_EQ(LookOf(form), small_icons);

  form.ProcessCommand(form.D1);
  EXPECT_EQ(LookOf(form), details);
  form.ProcessCommand(form.N53);
  EXPECT_EQ(LookOf(form), small_icons);

  // The content list's context menu opens on a right click; its item's command reaches the window.
  form.ProcessCommand(form.D1);
  ClickAt(form.ListView1->ActiveList(), wxPoint(30, 60), wxMOUSE_BTN_RIGHT);
  ASSERT_FALSE(Popups().empty());
  EXPECT_EQ(Popups().back().menu, form.PopupMenu2);
  Choose(form, form.N21);
  EXPECT_EQ(LookOf(form), small_icons);
  EXPECT_FALSE(form.N21->IsCheckable());  // the context menu carries no check marks
}

TEST_F(CommandMapTest, EveryViewItemLeadsToItsStyle) {
  TForm1& form = Start();
  ShowDvd1Root();
  const struct {
    wxMenuItem* main;
    wxMenuItem* context;
    ListViewStyle style;
  } kItems[] = {{form.N52, form.N20, ListViewStyle::LargeIcons},
                {form.L1, form.N22, ListViewStyle::List},
                {form.D1, form.N23, ListViewStyle::Details},
                {form.N53, form.N21, ListViewStyle::SmallIcons}};
  for (const auto& entry : kItems) {
    form.ProcessCommand(entry.main);
    EXPECT_EQ(form.ListView1->ViewStyle(), entry.style);
    EXPECT_TRUE(entry.main->IsChecked());
    form.ProcessCommand(form.N52 == entry.main ? form.D1 : form.N52);
    Choose(form, entry.context);
    EXPECT_EQ(form.ListView1->ViewStyle(), entry.style);
    EXPECT_TRUE(entry.main->IsChecked());
  }
}

// ---- Items that do nothing ------------------------------------------------------------------

TEST_F(CommandMapTest, ItemsWithoutAHandlerDoNothing) {
  TForm1& form = Start();
  ShowDvd1Root();
  const std::string catalogue = test::ReadBytes(CataloguePath());
  const std::string captions = test::ListCaptions(form);
  for (wxMenuItem* item : {form.N4, form.N45}) {
    wxCommandEvent event(wxEVT_MENU, item->GetId());
    EXPECT_FALSE(form.ProcessWindowEvent(event)) << item->GetItemLabelText().utf8_string();
  }
  Flush();
  EXPECT_EQ(test::ListCaptions(form), captions);
  EXPECT_EQ(test::ReadBytes(CataloguePath()), catalogue);
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_TRUE(opener_.links.empty());
}

// ---- Refresh -------------------------------------------------------------------------------------

TEST_F(CommandMapTest, RefreshLeavesTheSearchResultsAndDisablesBothHistoryButtons) {
  TForm1& form = Start();
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"软件"}));
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"电影"}));
  Select(*form.TreeView1, NodeAt(*form.TreeView1, {"软件"}));
  Type(WXK_LEFT, wxMOD_ALT);
  ASSERT_TRUE(form.ToolBar1->GetToolEnabled(form.ToolButton1->GetId()));
  ASSERT_TRUE(form.ToolBar1->GetToolEnabled(form.ToolButton13->GetId()));
  // Results on screen, as a search leaves them.
  form.ToolBar1->ToggleTool(form.ToolButton10->GetId(), true);
  form.ShowResultsPanel(true);
  form.ListView2->Rows().AddDisc(Gbk("电影\\DVD1"));
  form.ListView2->Rows().AddEntry(true, "a.txt", "E:\\", 10, 38779.0);
  form.ListView2->ShowRows();

  wxCommandEvent refresh(wxEVT_TOOL, form.ToolButton11->GetId());
  refresh.SetEventObject(form.ToolBar1);
  form.ToolBar1->ProcessWindowEvent(refresh);
  Flush();
  EXPECT_FALSE(form.ToolBar1->GetToolEnabled(form.ToolButton1->GetId()));
  EXPECT_FALSE(form.ToolBar1->GetToolEnabled(form.ToolButton13->GetId()));
  EXPECT_TRUE(form.ResultsPanelShown());
  EXPECT_TRUE(form.ToolBar1->GetToolState(form.ToolButton10->GetId()));
  EXPECT_EQ(form.ListView2->GetItemCount(), 2);
  // The trees were rebuilt from the file.
  EXPECT_TRUE(NodeAt(*form.TreeView1, {"软件", "工具", "T1"}).IsOk());
}

TEST_F(CommandMapTest, CtrlEnterOnAResultOpensItsRealFileInsteadOfGoingToIt) {
  test::TempDir medium;
  for (const char* name : {"VIDEO/x", "a.txt", "b.txt"}) test::WriteBytes(medium / name, "");
  Drives() = DriveMap({{'E', medium.path(), "", true}});
  TForm1& form = Start();
  const wxTreeItemId selected = form.TreeView1->GetSelection();
  form.ShowResultsPanel(true);
  form.ListView2->Rows().AddDisc(Gbk("电影\\DVD1"));
  form.ListView2->Rows().AddEntry(true, "a.txt", "E:\\", 10, 38779.0);
  form.ListView2->ShowRows();
  form.ListView2->SetItemState(1, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  Focus(form.ListView2);
  Type(WXK_RETURN, wxMOD_CONTROL);
  EXPECT_EQ(opener_.documents, std::vector<std::string>{medium / "a.txt"});
  EXPECT_EQ(form.TreeView1->GetSelection(), selected);
  // This desktop has no program for it, and says so.
  ASSERT_EQ(MessagesShown().size(), 1u);
  EXPECT_EQ(GbkToUtf8(MessagesShown()[0]), "没有程序能够打开“" + medium / "a.txt" + "”。");
}

// ---- Expand and collapse all ----------------------------------------------------------------------

// Every node below node that has children, expanded or not.
void CollectParents(const wxTreeCtrl& tree, const wxTreeItemId& node, std::vector<wxTreeItemId>& out) {
  wxTreeItemIdValue cookie;
  for (wxTreeItemId child = tree.GetFirstChild(node, cookie); child.IsOk(); child = tree.GetNextChild(node, cookie)) {
    if (tree.ItemHasChildren(child)) out.push_back(child);
    CollectParents(tree, child, out);
  }
}

TEST_F(CommandMapTest, ExpandAllOpensEveryCategoryAndCollapseAllClosesThem) {
  TForm1& form = Start();
  std::vector<wxTreeItemId> parents;
  CollectParents(*form.TreeView1, form.TreeView1->GetRootItem(), parents);
  ASSERT_EQ(parents.size(), 4u);  // 电影, 动作, 软件 and 工具

  Choose(form, form.N8);
  for (const wxTreeItemId& node : parents) EXPECT_TRUE(form.TreeView1->IsExpanded(node));
  EXPECT_FALSE(form.TreeView1->IsFrozen());
  EXPECT_TRUE(form.TreeView1->IsVisible(NodeAt(*form.TreeView1, {"软件", "工具", "T1"})));

  Choose(form, form.N7);
  for (const wxTreeItemId& node : parents) EXPECT_FALSE(form.TreeView1->IsExpanded(node));
  EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(CommandMapTest, ExpandAllAlsoOpensTheFoldersOfADiscAlreadyVisited) {
  TForm1& form = Start();
  ShowDvd1Root();
  form.N7Click();
  Flush();
  form.N8Click();
  Flush();
  const wxTreeItemId root = NodeAt(*form.TreeView1, {"电影", "DVD1", "E:"});
  ASSERT_TRUE(root.IsOk());
  EXPECT_TRUE(form.TreeView1->IsExpanded(NodeAt(*form.TreeView1, {"电影", "DVD1"})));
  EXPECT_TRUE(form.TreeView1->IsExpanded(root));
  EXPECT_TRUE(form.TreeView1->IsVisible(NodeAt(*form.TreeView1, {"电影", "DVD1", "E:", "VIDEO"})));
}

// ---- Help, links and the About box ------------------------------------------------------------------

TEST_F(CommandMapTest, HelpOpensTheCompiledHelpFileWhenPresentAndTheGuideOtherwise) {
  TForm1& form = Start();
  form.ProcessCommand(form.N3);
  test::WriteBytes(ProgramFolder() + "/movra.chm", "ITSF");
  Type(WXK_F1);
  ASSERT_EQ(opener_.documents.size(), 2u);
  EXPECT_EQ(opener_.documents[0], ProgramFolder() + "/help/index.html");
  EXPECT_EQ(opener_.documents[1], ProgramFolder() + "/movra.chm");
  EXPECT_TRUE(opener_.links.empty());
  // No viewer could be started: the user is told where the guide is.
  ASSERT_EQ(MessagesShown().size(), 2u);
  EXPECT_NE(GbkToUtf8(MessagesShown()[0]).find(ProgramFolder() + "/help/index.html"), std::string::npos);
  EXPECT_NE(GbkToUtf8(MessagesShown()[1]).find(ProgramFolder() + "/movra.chm"), std::string::npos);
}

TEST_F(CommandMapTest, HelpIsLookedForBesideTheProgramNotInTheCurrentFolder) {
  UseSeparateWorkFolder();
  TForm1& form = Start();
  test::WriteBytes(WorkFolder() + "/movra.chm", "ITSF");
  form.N3Click();
  ASSERT_EQ(opener_.documents.size(), 1u);
  EXPECT_EQ(opener_.documents[0], ProgramFolder() + "/help/index.html");
}

TEST_F(CommandMapTest, ForumAndFeedbackOpenTheirLinks) {
  TForm1& form = Start();
  form.ProcessCommand(form.N18);
  form.ProcessCommand(form.N60);
  ASSERT_EQ(opener_.links.size(), 2u);
  EXPECT_EQ(opener_.links[0], kForumUrl);
  EXPECT_EQ(opener_.links[0].rfind("http://", 0), 0u);
  EXPECT_EQ(opener_.links[1], kFeedbackMailUrl);
  EXPECT_EQ(opener_.links[1].rfind("mailto:", 0), 0u);
  EXPECT_TRUE(MessagesShown().empty());
  // A desktop without a browser: the link is shown to the user.
  opener_.links_open = false;
  form.ProcessCommand(form.N18);
  ASSERT_EQ(MessagesShown().size(), 1u);
  EXPECT_NE(MessagesShown()[0].find(kForumUrl), std::string::npos);
}

TEST_F(CommandMapTest, AboutShowsAFreshBoxModallyAndReleasesIt) {
  TForm1& form = Start();
  std::vector<wxDialog*> shown;
  SetDialogRunner([&](wxDialog& dialog) {
    EXPECT_NE(dynamic_cast<TForm6*>(&dialog), nullptr);
    EXPECT_EQ(dialog.GetParent(), &form);
    // The box tells where the catalogue and the snapshots are.
    const wxStaticText* home = static_cast<TForm6&>(dialog).HomeLabel;
    EXPECT_TRUE(home->IsShown());
    EXPECT_TRUE(home->GetLabel().EndsWith(wxString::FromUTF8(form.HomeFolder().string())));
    EXPECT_FALSE(form.HomeFolder().empty());
    shown.push_back(&dialog);
    return wxID_OK;
  });
  const std::size_t windows = wxTopLevelWindows.size();
  form.ProcessCommand(form.N40);
  EXPECT_EQ(wxTopLevelWindows.size(), windows);
  form.ProcessCommand(form.N40);
  EXPECT_EQ(wxTopLevelWindows.size(), windows);
  EXPECT_EQ(shown.size(), 2u);
}

}  // namespace
}  // namespace movra
