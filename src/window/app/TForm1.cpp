// Construction and layout of the main window.
#include "window/app/TForm1.h"

#include <algorithm>

#include <wx/artprov.h>
#include <wx/clipbrd.h>
#include <wx/iconbndl.h>
#include <wx/panel.h>
#include <wx/sizer.h>

#include "window/controls/TreeImages.h"
#include "window/platform/ProgramIcons.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace movra {
namespace {

// A caption written in the source as UTF-8.
wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

// A tool image: the desktop theme's icon of that name, else a toolkit image.
wxBitmap ToolImage(const char* theme_name, const wxArtID& fallback) {
  const wxSize size(16, 16);
  wxBitmap bitmap = wxArtProvider::GetBitmap(theme_name, wxART_TOOLBAR, size);
  if (!bitmap.IsOk()) bitmap = wxArtProvider::GetBitmap(fallback, wxART_TOOLBAR, size);
  if (!bitmap.IsOk()) bitmap = wxBitmap(size.x, size.y);
  return bitmap;
}

// Room a list column needs beside its text (margins, the sort arrow).
constexpr int kColumnPadding = 28;

// The size and date columns start wide enough for a DVD-sized file and a full
// date-time, and never narrower than their usual widths.
int SizeColumnWidth(const wxWindow& window) {
  return std::max(80, window.GetTextExtent("2,929,687 KB").x + kColumnPadding);
}
int DateColumnWidth(const wxWindow& window) {
  return std::max(110, window.GetTextExtent("2006-03-03 09:07:02").x + kColumnPadding);
}

// Width of the left pane and of the splitter's minimum.
constexpr int kLeftPaneWidth = 233;
constexpr int kLeftPaneMinimum = 100;
// Results panel: minimum height.
constexpr int kResultsMinimum = 23;

}  // namespace

TForm1::TForm1(TForm1Options options)
    : wxFrame(nullptr, wxID_ANY, "Movra", wxPoint(202, 80), wxSize(740, 576)), options_(std::move(options)) {
  if (!options_.exit_process) options_.exit_process = [](int status) { std::exit(status); };
  popup_menu = [this](wxMenu& menu, const wxPoint& screen) { PopupMenu(&menu, ScreenToClient(screen)); };
  put_on_clipboard = [](const wxString& text) {
    if (!wxTheClipboard->Open()) return;
    wxTheClipboard->SetData(new wxTextDataObject(text));
    wxTheClipboard->Close();
  };

  optical_drives_ = options_.drives.OpticalDrives();
  icons_ = std::make_unique<IconProvider>(optical_drives_.empty() ? std::string() : optical_drives_.front());

  CreateMenus();
  CreatePopupMenus();
  CreateToolBar1();
  CreateClientArea();
  CreateStatusBar1();
  BindHandlers();
  SetInstalledIcons();

  StartUp();
  ApplySettings();
  TreeView1->SetFocus();
}

void TForm1::SetInstalledIcons() {
  const wxIconBundle icons = ProgramIcons(options_.program_folder);
  if (!icons.IsEmpty()) SetIcons(icons);
}

void TForm1::CreateMenus() {
  MainMenu1 = new wxMenuBar;

  N1 = new wxMenu;
  N37 = N1->Append(wxID_ANY, U("添加光盘(&V)...\tCtrl+V"));
  N1->AppendSeparator();
  N4 = N1->Append(wxID_ANY, U("导出快照文件"));
  N39 = N1->Append(wxID_ANY, U("导入快照文件(&I)"));
  L2 = N1->Append(wxID_ANY, U("导入文件列表(&L)..."));
  N1->AppendSeparator();
  N50 = N1->Append(wxID_ANY, U("查找...(&F)\tCtrl+F"));
  N1->AppendSeparator();
  auto* new_menu = new wxMenu;
  N42 = new_menu->Append(wxID_ANY, U("主类别"));
  N43 = new_menu->Append(wxID_ANY, U("子类别"));
  N41 = N1->AppendSubMenu(new_menu, U("新建(&W)"));
  N1->AppendSeparator();
  N63 = N1->Append(wxID_ANY, U("重命名(&M)"));
  N1->AppendSeparator();
  N38 = N1->Append(wxID_ANY, U("关闭(&C)"));
  MainMenu1->Append(N1, U("文件(&F)"));

  N2 = new wxMenu;
  N45 = N2->Append(wxID_ANY, U("复制(&C)\tCtrl+C"));
  N47 = N2->Append(wxID_ANY, U("删除(&D)\tDel"));
  N2->AppendSeparator();
  N46 = N2->Append(wxID_ANY, U("全部选定(&A)\tCtrl+A"));
  I2 = N2->Append(wxID_ANY, U("反向选择(&I)"));
  N2->AppendSeparator();
  D2 = N2->Append(wxID_ANY, U("查找重复文件(&U)..."));
  MainMenu1->Append(N2, U("编辑(&E)"));

  N51 = new wxMenu;
  N52 = N51->AppendCheckItem(wxID_ANY, U("大图标(&G)"));
  N53 = N51->AppendCheckItem(wxID_ANY, U("小图标(&M)"));
  L1 = N51->AppendCheckItem(wxID_ANY, U("列表(&L)"));
  D1 = N51->AppendCheckItem(wxID_ANY, U("详细资料(&D)"));
  N51->AppendSeparator();
  auto* arrange_menu = new wxMenu;
  N65 = arrange_menu->Append(wxID_ANY, U("按名称(&N)"));
  N68 = arrange_menu->Append(wxID_ANY, U("按类型(&T)"));
  N66 = arrange_menu->Append(wxID_ANY, U("按大小(&Z)"));
  N67 = arrange_menu->Append(wxID_ANY, U("按日期(&D)"));
  N54 = N51->AppendSubMenu(arrange_menu, U("排列图标(&I)"));
  N51->AppendSeparator();
  N57 = N51->Append(wxID_ANY, U("刷新(&R)"));
  MainMenu1->Append(N51, U("查看(&V)"));

  N6 = new wxMenu;
  N3 = N6->Append(wxID_ANY, U("帮助主题(&H)"));
  N6->AppendSeparator();
  N18 = N6->Append(wxID_ANY, U("论坛讨论(&C)"));
  N60 = N6->Append(wxID_ANY, U("用户反馈(&R)"));
  N6->AppendSeparator();
  N40 = N6->Append(wxID_ANY, U("关于  Movra 0.2  (&A)"));
  N6->AppendSeparator();
  MainMenu1->Append(N6, U("帮助(&H)"));

  SetMenuBar(MainMenu1);

  // At start: details view checked, copy and delete disabled until the lists enable them.
  D1->Check(true);
  N45->Enable(false);
  N47->Enable(false);
}

void TForm1::CreatePopupMenus() {
  PopupMenu1 = new wxMenu;
  N14 = PopupMenu1->Append(wxID_ANY, U("展开(&A)"));
  N15 = PopupMenu1->Append(wxID_ANY, U("收起(&C)"));
  PopupMenu1->AppendSeparator();
  N12 = PopupMenu1->Append(wxID_ANY, U("搜索(&E)..."));
  D3 = PopupMenu1->Append(wxID_ANY, U("查找重复文件(&P)..."));
  L3 = PopupMenu1->Append(wxID_ANY, U("导出列表(&L)..."));
  PopupMenu1->AppendSeparator();
  G1 = PopupMenu1->Append(wxID_ANY, U("新建主类(&G)"));
  N9 = PopupMenu1->Append(wxID_ANY, U("新建子类(&W)"));
  N19 = PopupMenu1->Append(wxID_ANY, U("删除(&D)"));
  M1 = PopupMenu1->Append(wxID_ANY, U("重命名(&M)"));
  PopupMenu1->AppendSeparator();
  R2 = PopupMenu1->Append(wxID_ANY, U("导出快照(&R)..."));
  U1 = PopupMenu1->Append(wxID_ANY, U("更新光盘(&U)..."));
  PopupMenu1->AppendSeparator();
  N7 = PopupMenu1->Append(wxID_ANY, U("全部收起(&Z)"));
  N8 = PopupMenu1->Append(wxID_ANY, U("全部展开(&O)"));

  PopupMenu2 = new wxMenu;
  O1 = PopupMenu2->Append(wxID_ANY, U("打开(&O)"));
  O2 = PopupMenu2->Append(wxID_ANY, U("打开所在文件夹(&F)"));
  PopupMenu2->AppendSeparator();
  auto* view_menu = new wxMenu;
  N20 = view_menu->Append(wxID_ANY, U("大图标(&G)"));
  N21 = view_menu->Append(wxID_ANY, U("小图标(&M)"));
  N22 = view_menu->Append(wxID_ANY, U("列表(&L)"));
  N23 = view_menu->Append(wxID_ANY, U("详细资料(&D)"));
  V1 = PopupMenu2->AppendSubMenu(view_menu, U("查看(&V)"));
  PopupMenu2->AppendSeparator();
  auto* arrange_menu = new wxMenu;
  N29 = arrange_menu->Append(wxID_ANY, U("按名称(&N)"));
  N30 = arrange_menu->Append(wxID_ANY, U("按类型(&T)"));
  N31 = arrange_menu->Append(wxID_ANY, U("按大小(&Z)"));
  N32 = arrange_menu->Append(wxID_ANY, U("按日期(&D)"));
  I1 = PopupMenu2->AppendSubMenu(arrange_menu, U("排列图标(&I)"));
  N27 = PopupMenu2->Append(wxID_ANY, U("刷新(&E)"));
  PopupMenu2->AppendSeparator();
  R1 = PopupMenu2->Append(wxID_ANY, U("属性(&R)"));

  PopupMenu3 = new wxMenu;
  PopupMenu4 = new wxMenu;

  PopupMenu5 = new wxMenu;
  O3 = PopupMenu5->Append(wxID_ANY, U("打开(&O)\tCtrl+Enter"));
  O4 = PopupMenu5->Append(wxID_ANY, U("打开所在文件夹(&F)"));
  PopupMenu5->AppendSeparator();
  N26 = PopupMenu5->Append(wxID_ANY, U("复制"));
  L4 = PopupMenu5->Append(wxID_ANY, U("导出列表(&L)..."));
  PopupMenu5->AppendSeparator();
  MenuItem14 = PopupMenu5->Append(wxID_ANY, U("属性(&R)"));
  PopupMenu5->AppendSeparator();
}

void TForm1::CreateToolBar1() {
  ToolBar1 = CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT | wxTB_TEXT | wxTB_HORZ_LAYOUT | wxTB_NODIVIDER);
  ToolBar1->SetToolBitmapSize(wxSize(16, 16));
  ToolButton8 = ToolBar1->AddTool(wxID_ANY, U("添加"), ToolImage("media-optical", wxART_CDROM), wxString());
  ToolButton1 = ToolBar1->AddTool(wxID_ANY, U("后退"), ToolImage("go-previous", wxART_GO_BACK), U("返回到"),
                                  wxITEM_DROPDOWN);
  ToolButton13 = ToolBar1->AddTool(wxID_ANY, wxString(), ToolImage("go-next", wxART_GO_FORWARD), U("前进到"),
                                   wxITEM_DROPDOWN);
  ToolBar1->SetDropdownMenu(ToolButton1->GetId(), PopupMenu3);
  ToolBar1->SetDropdownMenu(ToolButton13->GetId(), PopupMenu4);
  ToolBar1->AddSeparator();
  ToolButton10 = ToolBar1->AddTool(wxID_ANY, U("搜索"), ToolImage("edit-find", wxART_FIND), wxString(), wxITEM_CHECK);
  ToolButton12 = ToolBar1->AddTool(wxID_ANY, wxString(), ToolImage("edit-delete", wxART_DELETE), U("删除"));
  ToolButton11 = ToolBar1->AddTool(wxID_ANY, wxString(), ToolImage("view-refresh", wxART_REDO), wxString());
  ToolBar1->AddSeparator();
  ToolButton2 = ToolBar1->AddTool(wxID_ANY, wxString(), ToolImage("view-grid", wxART_NORMAL_FILE), U("大图标"),
                                  wxITEM_RADIO);
  ToolButton3 = ToolBar1->AddTool(wxID_ANY, wxString(), ToolImage("view-list-symbolic", wxART_LIST_VIEW), U("小图标"),
                                  wxITEM_RADIO);
  ToolButton4 = ToolBar1->AddTool(wxID_ANY, wxString(), ToolImage("view-list", wxART_LIST_VIEW), U("列表"),
                                  wxITEM_RADIO);
  ToolButton5 = ToolBar1->AddTool(wxID_ANY, wxString(), ToolImage("view-list-details", wxART_REPORT_VIEW),
                                  U("详细资料"), wxITEM_RADIO);
  ToolBar1->Realize();

  ToolBar1->EnableTool(ToolButton1->GetId(), false);
  ToolBar1->EnableTool(ToolButton13->GetId(), false);
  ToolBar1->ToggleTool(ToolButton5->GetId(), true);
}

void TForm1::CreateClientArea() {
  Splitter2 = new wxSplitterWindow(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_3D | wxSP_LIVE_UPDATE);
  Splitter2->SetMinimumPaneSize(kResultsMinimum);
  Splitter2->SetSashGravity(1.0);  // the results panel keeps its height when the window grows

  Splitter1 = new wxSplitterWindow(Splitter2, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_3D | wxSP_LIVE_UPDATE);
  Splitter1->SetMinimumPaneSize(kLeftPaneMinimum);
  Splitter1->SetSashGravity(0.0);  // the left pane keeps its width

  PageControl1 = new wxNotebook(Splitter1, wxID_ANY);
  TabSheet1 = new wxPanel(PageControl1);
  TreeView1 = new CategoryTreeCtrl(TabSheet1, wxID_ANY);
  TreeView1->AssignImageList(CreateTreeImages());
  auto* sizer1 = new wxBoxSizer(wxVERTICAL);
  sizer1->Add(TreeView1, 1, wxEXPAND);
  TabSheet1->SetSizer(sizer1);
  TabSheet2 = new wxPanel(PageControl1);
  TreeView2 = new CategoryTreeCtrl(TabSheet2, wxID_ANY);
  TreeView2->AssignImageList(CreateTreeImages());
  auto* sizer2 = new wxBoxSizer(wxVERTICAL);
  sizer2->Add(TreeView2, 1, wxEXPAND);
  TabSheet2->SetSizer(sizer2);
  PageControl1->AddPage(TabSheet1, U("分类"), true);
  PageControl1->AddPage(TabSheet2, U("光盘"), false);

  std::vector<ListColumnSpec> content_columns = {
      {Utf8ToGbk("名称"), 250, wxLIST_FORMAT_LEFT},
      {Utf8ToGbk("大小"), SizeColumnWidth(*this), wxLIST_FORMAT_RIGHT},
      {Utf8ToGbk("修改时间"), DateColumnWidth(*this), wxLIST_FORMAT_LEFT},
      {Utf8ToGbk("类型"), -1, wxLIST_FORMAT_LEFT},
  };
  ListView1 = new ContentListCtrl(Splitter1, wxID_ANY, std::move(content_columns), icons_->SmallImages(),
                                  icons_->LargeImages());
  Splitter1->SplitVertically(PageControl1, ListView1, kLeftPaneWidth);

  ResultsPanel = new wxPanel(Splitter2);
  ListView2 = new ResultsListCtrl(ResultsPanel, wxID_ANY, *icons_);
  ListView2->SetColumnWidth(kResultsSize, SizeColumnWidth(*ListView2));
  ListView2->SetColumnWidth(kResultsDate, DateColumnWidth(*ListView2));
  auto* results_sizer = new wxBoxSizer(wxVERTICAL);
  results_sizer->Add(ListView2, 1, wxEXPAND);
  ResultsPanel->SetSizer(results_sizer);
  ResultsPanel->SetMinSize(wxSize(-1, kResultsMinimum));

  Splitter2->Initialize(Splitter1);
  ResultsPanel->Hide();
}

void TForm1::ShowResultsPanel(bool show) {
  if (show == ResultsPanelShown()) return;
  if (show) {
    ResultsPanel->Show();
    Splitter2->SplitHorizontally(Splitter1, ResultsPanel, -(results_height_ + Splitter2->GetSashSize()));
  } else {
    // The height the user gave the panel is kept for the next search.
    if (ResultsPanel->GetSize().y >= kResultsMinimum) results_height_ = ResultsPanel->GetSize().y;
    Splitter2->Unsplit(ResultsPanel);
    ResultsPanel->Hide();
  }
}

bool TForm1::ResultsPanelShown() const { return Splitter2->IsSplit(); }

void TForm1::BindMenu(wxMenuItem* item, void (TForm1::*handler)()) {
  Bind(wxEVT_MENU, [this, handler](wxCommandEvent&) { (this->*handler)(); }, item->GetId());
}

void TForm1::BindTool(wxToolBarToolBase* tool, void (TForm1::*handler)()) {
  Bind(wxEVT_TOOL, [this, handler](wxCommandEvent&) { (this->*handler)(); }, tool->GetId());
}

void TForm1::BindHandlers() {
  // Main menu; N4 (导出快照文件) and N45 (复制) have no handler and do nothing.
  BindMenu(N37, &TForm1::N37Click);
  BindMenu(N39, &TForm1::N39Click);
  BindMenu(N50, &TForm1::N50Click);
  BindMenu(N42, &TForm1::N42Click);
  BindMenu(N43, &TForm1::N43Click);
  BindMenu(N63, &TForm1::N63Click);
  BindMenu(N38, &TForm1::N38Click);
  BindMenu(N47, &TForm1::N47Click);
  BindMenu(N46, &TForm1::N46Click);
  BindMenu(I2, &TForm1::I2Click);
  BindMenu(N52, &TForm1::N52Click);
  BindMenu(N53, &TForm1::N53Click);
  BindMenu(L1, &TForm1::L1Click);
  BindMenu(D1, &TForm1::D1Click);
  BindMenu(N65, &TForm1::N65Click);
  BindMenu(N68, &TForm1::N68Click);
  BindMenu(N66, &TForm1::N66Click);
  BindMenu(N67, &TForm1::N67Click);
  BindMenu(N57, &TForm1::N57Click);
  BindMenu(N3, &TForm1::N3Click);
  BindMenu(N18, &TForm1::N18Click);
  BindMenu(N60, &TForm1::N60Click);
  BindMenu(N40, &TForm1::N40Click);

  // Category tree menu (展开 and 收起 are bound with the item commands).
  BindMenu(N12, &TForm1::N12Click);
  BindMenu(G1, &TForm1::G1Click);
  BindMenu(N9, &TForm1::N9Click);
  BindMenu(N19, &TForm1::N19Click);
  BindMenu(M1, &TForm1::M1Click);
  BindMenu(R2, &TForm1::R2Click);
  BindMenu(U1, &TForm1::U1Click);
  BindMenu(N7, &TForm1::N7Click);
  BindMenu(N8, &TForm1::N8Click);

  // Content list menu (刷新 and 属性 are bound with the item commands).
  BindMenu(N20, &TForm1::N20Click);
  BindMenu(N21, &TForm1::N21Click);
  BindMenu(N22, &TForm1::N22Click);
  BindMenu(N23, &TForm1::N23Click);
  BindMenu(N29, &TForm1::N29Click);
  BindMenu(N30, &TForm1::N30Click);
  BindMenu(N31, &TForm1::N31Click);
  BindMenu(N32, &TForm1::N32Click);

  BindTool(ToolButton8, &TForm1::ToolButton8Click);
  BindTool(ToolButton1, &TForm1::ToolButton1Click);
  BindTool(ToolButton13, &TForm1::ToolButton13Click);
  BindTool(ToolButton10, &TForm1::ToolButton10Click);
  BindTool(ToolButton12, &TForm1::ToolButton12Click);
  BindTool(ToolButton11, &TForm1::ToolButton11Click);
  BindTool(ToolButton2, &TForm1::ToolButton2Click);
  BindTool(ToolButton3, &TForm1::ToolButton3Click);
  BindTool(ToolButton4, &TForm1::ToolButton4Click);
  BindTool(ToolButton5, &TForm1::ToolButton5Click);

  // Both trees share the pointer, selection and expansion handlers.
  for (CategoryTreeCtrl* tree : {TreeView1, TreeView2}) {
    tree->Bind(wxEVT_LEFT_DOWN, &TForm1::TreeView1MouseDown, this);
    tree->Bind(wxEVT_RIGHT_DOWN, &TForm1::TreeView1MouseDown, this);
    tree->Bind(wxEVT_LEFT_UP, &TForm1::TreeView1MouseUp, this);
    tree->Bind(wxEVT_RIGHT_UP, &TForm1::TreeView1MouseUp, this);
    tree->Bind(wxEVT_TREE_ITEM_EXPANDING, &TForm1::TreeView1Expanding, this);
    tree->Bind(wxEVT_TREE_ITEM_COLLAPSING, &TForm1::TreeView1Collapsing, this);
    AttachTreeHandlers(tree, true, tree == TreeView1);
  }
  TreeView1->Bind(wxEVT_TREE_END_LABEL_EDIT, &TForm1::TreeView1Edited, this);
  PageControl1->Bind(wxEVT_NOTEBOOK_PAGE_CHANGED, &TForm1::PageControl1Change, this);

  ListView1->Bind(EVT_CONTENT_SELECTION_CHANGED, &TForm1::ListView1Change, this);
  ListView1->Bind(EVT_CONTENT_ITEM_ACTIVATED, &TForm1::ListView1DblClick, this);
  ListView1->Bind(EVT_CONTENT_COLUMN_CLICK, &TForm1::ListView1ColumnClick, this);
  ListView1->Bind(EVT_CONTENT_CONTEXT_MENU, &TForm1::ListView1ContextMenu, this);
  ListView2->Bind(wxEVT_CONTEXT_MENU, &TForm1::ListView2ContextMenu, this);
  // A change of the results' selection updates the status bar as the content list's does.
  auto content_change = [this](wxListEvent&) {
    wxCommandEvent event;
    ListView1Change(event);
  };
  ListView2->Bind(wxEVT_LIST_ITEM_SELECTED, content_change);
  ListView2->Bind(wxEVT_LIST_ITEM_DESELECTED, content_change);
  ListView2->Bind(wxEVT_LIST_ITEM_ACTIVATED, &TForm1::ListView2Activated, this);
  BindMenu(N26, &TForm1::N26Click);
  BindMenu(MenuItem14, &TForm1::MenuItem14Click);
  BindMenu(D2, &TForm1::D2Click);
  BindMenu(L2, &TForm1::L2Click);
  BindMenu(L3, &TForm1::L3Click);
  BindMenu(L4, &TForm1::L4Click);
  BindMenu(D3, &TForm1::D3Click);
  BindMenu(O1, &TForm1::O1Click);
  BindMenu(O2, &TForm1::O2Click);
  BindMenu(O3, &TForm1::O3Click);
  BindMenu(O4, &TForm1::O4Click);
  BindMenu(R1, &TForm1::R1Click);
  BindMenu(N27, &TForm1::N27Click);
  BindMenu(N14, &TForm1::N14Click);
  BindMenu(N15, &TForm1::N15Click);

  // By id: the events of Splitter1 travel up through Splitter2 as well.
  Splitter2->Bind(wxEVT_SPLITTER_SASH_POS_CHANGED, &TForm1::Splitter2Moved, this, Splitter2->GetId());
  Splitter2->Bind(wxEVT_SPLITTER_SASH_POS_CHANGING, &TForm1::Splitter2CanResize, this, Splitter2->GetId());

  // Key preview: the window sees every key before the focused control.
  Bind(wxEVT_CHAR_HOOK, &TForm1::FormKeyDown, this);
  BindCommandMap();
}

void TForm1::AttachTreeHandlers(CategoryTreeCtrl* tree, bool attach, bool with_click) {
  if (attach) {
    tree->Bind(wxEVT_TREE_SEL_CHANGED, &TForm1::TreeView1Change, this);
    tree->Bind(wxEVT_TREE_SEL_CHANGING, &TForm1::TreeView1Changing, this);
    if (with_click) tree->Bind(wxEVT_LEFT_UP, &TForm1::TreeView1Click, this);
  } else {
    tree->Unbind(wxEVT_TREE_SEL_CHANGED, &TForm1::TreeView1Change, this);
    tree->Unbind(wxEVT_TREE_SEL_CHANGING, &TForm1::TreeView1Changing, this);
    if (with_click) tree->Unbind(wxEVT_LEFT_UP, &TForm1::TreeView1Click, this);
  }
}

}  // namespace movra
