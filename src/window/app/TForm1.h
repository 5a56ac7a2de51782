// The main window: menus, tool bar, the two trees, the content list, the
// search results panel and the status bar, with the state that lives as long
// as the window (catalogue, snapshot index, folders, drives, icons, current
// tree nodes). Controls and handlers bear the names of the form resources.
//
// Where the code lives: construction and layout in TForm1.cpp, start-up,
// refresh and close in TForm1Lifecycle.cpp, the trees' pointer handling and
// current nodes in TForm1Trees.cpp; the handlers of each feature in a file
// of that feature.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/frame.h>
#include <wx/menu.h>
#include <wx/notebook.h>
#include <wx/splitter.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/treectrl.h>

#include "window/app/BrowseState.h"
#include "window/app/ContentViewState.h"
#include "window/app/HomeWatch.h"
#include "window/app/IndexKeeper.h"
#include "window/controls/ResultsListCtrl.h"
#include "window/app/TForm1Options.h"
#include "window/app/WindowSettings.h"
#include "window/controls/ContentListCtrl.h"
#include "catalog/CatalogueDocument.h"
#include "window/controls/CategoryTreeCtrl.h"
#include "search/EntryConditions.h"
#include "platform/DriveMap.h"
#include "window/platform/IconProvider.h"
#include "snapshot/SnapshotIndex.h"
#include "workflows/CatalogueEdit.h"
#include "workflows/Workspace.h"

namespace movra {

// How long an edit of the window waits while another program writes the home.
inline constexpr std::chrono::milliseconds kHomeLockWait{3000};

class TForm1 : public wxFrame {
 public:
  // Builds the window and runs the start-up sequence (backup, open, fill, select).
  explicit TForm1(TForm1Options options);
  // Releases the catalogue without writing it.
  ~TForm1() override;

  // ---- State of the run --------------------------------------------------

  // The one catalogue document of the run.
  CatalogueDocument& Catalogue() { return catalogue_; }
  // The snapshot index (holds at most one disc's snapshot).
  SnapshotIndex& Index() { return index_; }
  // Folder of the executable (GBK, no trailing separator).
  const std::string& ProgramFolder() const { return program_folder_; }
  // The data folder with a trailing separator ("<home>/CDROM/"): where the snapshot files are.
  const std::string& DataFolder() const { return data_folder_; }
  // The data folder as a native path.
  const std::filesystem::path& DataFolderNative() const { return data_folder_native_; }
  // The folder of the catalogue's backup and the data folder (native); the About box shows it.
  const std::filesystem::path& HomeFolder() const { return home_folder_; }
  // The catalogue's file: "Movra.xml" in the current folder when portable, else in the home.
  const std::string& CatalogueFile() const { return options_.catalogue_file; }
  // Path of the catalogue's backup.
  std::string BackupFile() const;
  // Drive letters of this run.
  const DriveMap& Drives() const { return options_.drives; }
  // The catalogue, the data folder, the snapshot observer and the home's lock as the
  // workflows take them. Without an observer in the options, the name index is told.
  // While another program holds the home's lock the busy cursor shows until the window is idle again.
  Workspace Work();
  // The home's lock of the run (the lock file beside the catalogue).
  HomeLock& Lock() { return home_lock_; }
  // The watch over the catalogue's folder and the data folder; null before it started.
  HomeWatch* Watch() { return home_watch_.get(); }
  // Follows what other programs changed in the home: the catalogue read again
  // when its file changed, the shown disc's snapshot read again when replaced.
  // Waits (and tries again shortly) while a dialog, a label edit or a running command is open.
  void FollowOutsideChanges();
  // The catalogue was read again: both trees are brought in line with it in place,
  // keeping expansion, selection and history of the nodes that remain; the
  // selection of a node that went moves to its nearest remaining ancestor.
  void ShowReloadedCatalogue();
  // Tells the user how a workflow ended (nothing for success or a silent end);
  // after a failed save the trees are rebuilt from the file first.
  void ReportWorkflow(const WorkflowResult& result);
  // False, after telling the user, when the catalogue could not be read and so takes no edit.
  bool CanEdit();
  // "D:", "E:", ... of the optical drives, in letter order.
  const std::vector<std::string>& OpticalDrives() const { return optical_drives_; }
  // Icons of the content and results lists (one instance for the run).
  IconProvider& Icons() { return *icons_; }
  // The content view's remembered state.
  ContentViewState& ContentState() { return content_state_; }
  // The category-tree node the category commands act on, or an invalid id.
  wxTreeItemId& CurrentCategoryNode() { return current_category_node_; }
  // The disc-tree node that corresponds, or an invalid id.
  wxTreeItemId& CurrentDiscNode() { return current_disc_node_; }
  // The keeper of the name index of the data folder, which searches use.
  IndexKeeper& NameIndexKeeper() { return *index_keeper_; }
  // False when the catalogue file existed but could not be read: nothing is written this run.
  bool CatalogueWritable() const { return catalogue_writable_; }

  // ---- Operations shared by the commands ---------------------------------

  // Saves the catalogue; tells the user when the write failed. Afterwards the
  // first-start hint comes or goes with the catalogue's categories.
  SaveResult SaveCatalogue();
  // Shows the first-start hint while the catalogue holds no category; removes it once one exists.
  void UpdateFirstStartHint();
  // Gives each tree a selected node (its topmost visible one when it has none)
  // and sets both current nodes from the selections.
  void SyncCurrentNodes();
  // Shows or hides the results panel (with its splitter).
  void ShowResultsPanel(bool show);
  // True while the results panel is shown.
  bool ResultsPanelShown() const;
  // Empties the history menus and disables the back and forward buttons.
  void ResetHistory();
  // Writes the window's place, panes, columns, view style and tab to the settings file.
  void SaveSettings();
  // The names Add disc and Update disc leave out, as the Add dialog's 排除 field last held them (UTF-8).
  std::string& ScanExclusionText() { return settings_.scan_exclusions; }
  // Writes a status panel (0 objects, 1 total, 2 search) and fits the panels' widths to their texts.
  void SetStatusPanel(int panel, const wxString& text);
  // The find dialog's last search text and options, offered again by the next search of the run.
  struct LastSearch {
    std::string text;             // GBK
    bool case_sensitive = false;  // 区分大小写
    bool literal_match = false;   // 完全匹配
    EntryConditions conditions;   // 更多条件
  } last_search;
  // Puts text on the clipboard (tests replace it).
  std::function<void(const wxString& text)> put_on_clipboard;
  // Goes to a search result: selects its disc and folder in the category tree
  // (growing the nodes), lists the folder and selects the entry; a header row selects the disc.
  void JumpToResult(std::size_t row);
  // Opens the real file or folder at recorded path (a key, or a key and a
  // name; empty for the root) of a disc with the desktop's program while the
  // disc is present; otherwise tells the user which disc to insert.
  void OpenLiveEntry(const std::string& disc, const std::string& recorded);
  // 打开 / 打开所在文件夹 of the content list's first selected row (or of its folder).
  void OpenContentEntry(bool containing_folder);
  // 打开 / 打开所在文件夹 of the selected search result (a header: its disc's root).
  void OpenResultEntry(bool containing_folder);
  // Shows a pop-up menu at a screen point (tests replace it: a real one is modal).
  std::function<void(wxMenu& menu, const wxPoint& screen)> popup_menu;

  // Browsing: content list selection and history steps for the command map,
  // and the history's part in deleting tree nodes.
  // Selects every item of the content list.
  void SelectAllContent();
  // Inverts the selected state of every item of the content list, in list order.
  void InvertContentSelection();
  // One step back in the active tab's history (only while the back button is enabled).
  void GoBack();
  // One step forward in the active tab's history (only while the forward button is enabled).
  void GoForward();
  // Drops node and every node below it from both tabs' history and from the
  // current nodes; call before deleting node.
  void ForgetNode(wxTreeItemId node);

  // ---- Controls (named as the form resources) ----------------------------

  wxMenuBar* MainMenu1 = nullptr;
  wxMenu* N1 = nullptr;   // 文件(&F)
  wxMenuItem* N37 = nullptr;
  wxMenuItem* N4 = nullptr;
  wxMenuItem* N39 = nullptr;
  wxMenuItem* L2 = nullptr;   // 导入文件列表(&L)...
  wxMenuItem* N50 = nullptr;
  wxMenuItem* N41 = nullptr;  // submenu 新建(&W)
  wxMenuItem* N42 = nullptr;
  wxMenuItem* N43 = nullptr;
  wxMenuItem* N63 = nullptr;
  wxMenuItem* N38 = nullptr;
  wxMenu* N2 = nullptr;   // 编辑(&E)
  wxMenuItem* N45 = nullptr;
  wxMenuItem* N47 = nullptr;
  wxMenuItem* N46 = nullptr;
  wxMenuItem* I2 = nullptr;
  wxMenuItem* D2 = nullptr;   // 查找重复文件(&U)...
  wxMenu* N51 = nullptr;  // 查看(&V)
  wxMenuItem* N52 = nullptr;
  wxMenuItem* N53 = nullptr;
  wxMenuItem* L1 = nullptr;
  wxMenuItem* D1 = nullptr;
  wxMenuItem* N54 = nullptr;  // submenu 排列图标(&I)
  wxMenuItem* N65 = nullptr;
  wxMenuItem* N68 = nullptr;
  wxMenuItem* N66 = nullptr;
  wxMenuItem* N67 = nullptr;
  wxMenuItem* N57 = nullptr;
  wxMenu* N6 = nullptr;   // 帮助(&H)
  wxMenuItem* N3 = nullptr;
  wxMenuItem* N18 = nullptr;
  wxMenuItem* N60 = nullptr;
  wxMenuItem* N40 = nullptr;

  wxMenu* PopupMenu1 = nullptr;  // category tree
  wxMenuItem* N14 = nullptr;     // 展开(&A)
  wxMenuItem* N15 = nullptr;     // 收起(&C)
  wxMenuItem* N12 = nullptr;     // 搜索(&E)...
  wxMenuItem* D3 = nullptr;      // 查找重复文件(&P)...
  wxMenuItem* L3 = nullptr;      // 导出列表(&L)...
  wxMenuItem* G1 = nullptr;      // 新建主类(&G)
  wxMenuItem* N9 = nullptr;      // 新建子类(&W)
  wxMenuItem* N19 = nullptr;     // 删除(&D)
  wxMenuItem* M1 = nullptr;      // 重命名(&M)
  wxMenuItem* R2 = nullptr;      // 导出快照(&R)...
  wxMenuItem* U1 = nullptr;      // 更新光盘(&U)...
  wxMenuItem* N7 = nullptr;      // 全部收起(&Z)
  wxMenuItem* N8 = nullptr;      // 全部展开(&O)

  wxMenu* PopupMenu2 = nullptr;  // content list
  wxMenuItem* O1 = nullptr;      // 打开(&O)
  wxMenuItem* O2 = nullptr;      // 打开所在文件夹(&F)
  wxMenuItem* V1 = nullptr;      // submenu 查看(&V)
  wxMenuItem* N20 = nullptr;
  wxMenuItem* N21 = nullptr;
  wxMenuItem* N22 = nullptr;
  wxMenuItem* N23 = nullptr;
  wxMenuItem* I1 = nullptr;      // submenu 排列图标(&I)
  wxMenuItem* N29 = nullptr;
  wxMenuItem* N30 = nullptr;
  wxMenuItem* N31 = nullptr;
  wxMenuItem* N32 = nullptr;
  wxMenuItem* N27 = nullptr;     // 刷新(&E)
  wxMenuItem* R1 = nullptr;      // 属性(&R)

  wxMenu* PopupMenu3 = nullptr;  // back history (owned by the tool bar)
  wxMenu* PopupMenu4 = nullptr;  // forward history (owned by the tool bar)

  wxMenu* PopupMenu5 = nullptr;  // search results list
  wxMenuItem* O3 = nullptr;      // 打开(&O)  (Ctrl+Enter)
  wxMenuItem* O4 = nullptr;      // 打开所在文件夹(&F)
  wxMenuItem* N26 = nullptr;     // 复制
  wxMenuItem* L4 = nullptr;      // 导出列表(&L)...
  wxMenuItem* MenuItem14 = nullptr;  // 属性(&R)

  wxToolBar* ToolBar1 = nullptr;
  wxToolBarToolBase* ToolButton8 = nullptr;   // 添加
  wxToolBarToolBase* ToolButton1 = nullptr;   // 后退 (drop-down PopupMenu3)
  wxToolBarToolBase* ToolButton13 = nullptr;  // 前进到 (drop-down PopupMenu4)
  wxToolBarToolBase* ToolButton10 = nullptr;  // 搜索 (check)
  wxToolBarToolBase* ToolButton12 = nullptr;  // 删除
  wxToolBarToolBase* ToolButton11 = nullptr;  // refresh
  wxToolBarToolBase* ToolButton2 = nullptr;   // 大图标 (radio)
  wxToolBarToolBase* ToolButton3 = nullptr;   // 小图标 (radio)
  wxToolBarToolBase* ToolButton4 = nullptr;   // 列表 (radio)
  wxToolBarToolBase* ToolButton5 = nullptr;   // 详细资料 (radio, down at start)

  wxSplitterWindow* Splitter2 = nullptr;  // browsing area above, results panel below
  wxSplitterWindow* Splitter1 = nullptr;  // trees left, content list right
  wxNotebook* PageControl1 = nullptr;
  wxPanel* TabSheet1 = nullptr;           // 分类
  wxPanel* TabSheet2 = nullptr;           // 光盘
  CategoryTreeCtrl* TreeView1 = nullptr;  // category tree
  CategoryTreeCtrl* TreeView2 = nullptr;  // disc tree
  ContentListCtrl* ListView1 = nullptr;   // content list
  wxPanel* ResultsPanel = nullptr;
  ResultsListCtrl* ListView2 = nullptr;   // search results
  wxStatusBar* StatusBar1 = nullptr;

  // ---- Handlers ----------------------------------------------------------
  // Commands take no argument so that they can be run from code as well.

  // Start-up, refresh and close.
  void N57Click();  // 刷新: reload the catalogue and rebuild both trees
  void N38Click();  // 关闭: end the process at once

  // Trees: pointer handling and the category context menu.
  void TreeView1MouseDown(wxMouseEvent& event);
  void TreeView1MouseUp(wxMouseEvent& event);
  void PopupMenu1Popup();
  void TreeView1Click(wxMouseEvent& event);

  // Content view.
  void TreeView1Change(wxTreeEvent& event);
  void TreeView1Expanding(wxTreeEvent& event);
  void TreeView1Collapsing(wxTreeEvent& event);
  void ListView1Change(wxCommandEvent& event);
  void ListView1DblClick(wxCommandEvent& event);
  void ListView1ContextMenu(wxContextMenuEvent& event);

  // Column sorting and the arrange commands.
  void ListView1ColumnClick(wxCommandEvent& event);
  void N65Click();
  void N68Click();
  void N66Click();
  void N67Click();
  void N29Click();
  void N30Click();
  void N31Click();
  void N32Click();

  // Navigation history.
  void TreeView1Changing(wxTreeEvent& event);
  void ToolButton1Click();
  void ToolButton13Click();
  void BackItemClick(int position);
  void ForwardItemClick(int position);
  void PageControl1Change(wxBookCtrlEvent& event);

  // Category operations.
  void G1Click();
  void N9Click();
  void M1Click();
  void TreeView1Edited(wxTreeEvent& event);
  void N19Click();
  void N42Click();
  void N43Click();
  void N63Click();
  void N47Click();
  void ToolButton12Click();

  // Add disc.
  void ToolButton8Click();
  void N37Click();

  // Search.
  void ToolButton10Click();
  void N50Click();
  void N12Click();
  void Splitter2Moved(wxSplitterEvent& event);
  void Splitter2CanResize(wxSplitterEvent& event);
  void ListView2ContextMenu(wxContextMenuEvent& event);
  void ListView2Activated(wxListEvent& event);  // double click or Enter: JumpToResult
  void N26Click();        // 复制: the selected and checked results as lines of text
  void MenuItem14Click(); // 属性 of the selected result
  // Duplicates across the discs below a category node (or of the whole catalogue), shown in the results.
  void FindDuplicatesBelow(const wxTreeItemId& category);
  void L2Click();  // 导入文件列表: a file list chosen, then the import dialog, filed as a new disc
  void L3Click();  // 导出列表 of the clicked category or disc node: everything below it
  void L4Click();  // 导出列表 of the results: the checked rows when any are checked, else all
  void D2Click();  // 查找重复文件 of the 编辑 menu: across the whole catalogue
  void D3Click() { FindDuplicatesBelow(current_category_node_); }  // on the clicked category node
  void O3Click() { OpenResultEntry(false); }  // 打开 the selected result
  void O4Click() { OpenResultEntry(true); }   // 打开所在文件夹 of the selected result
  void O1Click() { OpenContentEntry(false); } // 打开 the selected content row
  void O2Click() { OpenContentEntry(true); }  // 打开所在文件夹 of the content rows

  // Item commands of the content list and the category tree.
  void R1Click();   // 属性 of the selected row, or of the disc whose page is shown
  void N27Click();  // 刷新
  void N14Click();  // 展开 the clicked node
  void N15Click();  // 收起 the clicked node

  // Snapshot import and export.
  void N39Click();
  // Imports the snapshot files named on the command line (native paths), one
  // after the other, as 导入快照文件 does with a chosen file.
  void ImportSnapshotFiles(const std::vector<std::string>& native_paths);
  void R2Click();

  // Update disc.
  void U1Click();

  // Command map: view styles, selection, expand and collapse, help, keys.
  void ToolButton2Click();
  void ToolButton3Click();
  void ToolButton4Click();
  void ToolButton5Click();
  void ToolButton11Click();
  void N52Click();
  void N53Click();
  void L1Click();
  void D1Click();
  void N20Click();
  void N21Click();
  void N22Click();
  void N23Click();
  void N46Click();
  void I2Click();
  void N7Click();
  void N8Click();
  void N3Click();
  void N18Click();
  void N60Click();
  void N40Click();
  void FormKeyDown(wxKeyEvent& event);

 private:
  // Remembered layout (WindowPlace.cpp): the place and size of the window and
  // of its panes, the columns, the view style and the tab of the last run.
  void ApplySettings();
  // The close box: the settings are kept, then the window closes as usual.
  void FormClose(wxCloseEvent& event);
  WindowSettings settings_;
  int results_height_ = 100;
  // The import of a chosen snapshot file (native path): the dialog, the copy into the data folder, the catalogue entry.
  void ImportChosenSnapshot(const std::string& file);

  // Layout (TForm1.cpp).
  // The window's icons from the installation's icon theme, when there is one.
  void SetInstalledIcons();
  void CreateMenus();
  void CreatePopupMenus();
  void CreateToolBar1();
  void CreateClientArea();
  void CreateStatusBar1();
  void BindHandlers();
  // Binds a command handler to a menu item.
  void BindMenu(wxMenuItem* item, void (TForm1::*handler)());
  // Binds a command handler to a tool button.
  void BindTool(wxToolBarToolBase* tool, void (TForm1::*handler)());

  // Following the home (FollowHome.cpp).
  // Watches the home once an event loop runs.
  void StartFollowing();
  // Brings one tree in line with the catalogue (SyncTree against a tree filled afresh).
  void SyncTreeWithCatalogue(CategoryTreeCtrl* tree);
  // The shown disc's snapshot was replaced: its folder nodes are grown again and what was shown is shown again.
  void ReloadShownSnapshot();
  // Shows the no-locks warning the first time the home turns out to have no locks.
  void TellIfNoLocks(LockState state);
  HomeLock home_lock_;
  std::unique_ptr<HomeWatch> home_watch_;
  bool following_ = false;
  bool busy_cursor_ = false;

  // Start-up and reload steps (TForm1Lifecycle.cpp).
  void StartUp();
  void BackUpAndOpenCatalogue();
  void FillTrees(bool clear_first);
  // Attaches or detaches the selection handlers of a tree (with_click: also TreeView1Click).
  void AttachTreeHandlers(CategoryTreeCtrl* tree, bool attach, bool with_click);
  // Opens the category context menu for a right press at the tree's client point.
  void ShowCategoryMenu(const wxPoint& tree_point);

  TForm1Options options_;
  std::string program_folder_;
  std::string data_folder_;
  std::filesystem::path home_folder_;
  std::filesystem::path data_folder_native_;
  std::string backup_file_;
  std::vector<std::string> optical_drives_;
  CatalogueDocument catalogue_;
  SnapshotIndex index_;
  std::unique_ptr<IconProvider> icons_;
  ContentViewState content_state_;
  wxTreeItemId current_category_node_;
  wxTreeItemId current_disc_node_;
  bool catalogue_writable_ = true;
  std::unique_ptr<IndexKeeper> index_keeper_;

  // Browsing: column sorter and navigation history (ContentView*.cpp, ContentSort.cpp, History.cpp).
  BrowseState browse_;

  // Command map (CommandMap.cpp, KeyPreview.cpp): the Edit menu's enabling and running keys' commands.
  void BindCommandMap();
  // A click in the content list: enables 复制 when an item is selected.
  void ContentListClick(wxMouseEvent& event);
  // A change of the content list's selection: 复制 enabled exactly while an item is selected.
  void ContentSelectionChanged(wxCommandEvent& event);
  // Runs a menu item's command as a click would (nothing while it is disabled).
  void RunMenuItem(wxMenuItem* item);
  // Runs a tool button's command as a click would (nothing while it is disabled).
  void RunTool(wxToolBarToolBase* tool);
  // Set from opening the content list's menu until the events of that press are done.
  bool content_menu_shown_ = false;
};

}  // namespace movra
