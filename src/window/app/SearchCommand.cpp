// The search command behind the 搜索 button: the find dialog, the walk over
// the located discs' snapshot files, the results panel and its list.
#include <optional>

#include <wx/checkbox.h>
#include <wx/msgdlg.h>
#include <wx/textctrl.h>

#include "window/app/SearchFeedback.h"
#include "window/app/TForm1.h"
#include "window/controls/CategoryTrees.h"
#include "window/dialogs/ModalDialogs.h"
#include "window/dialogs/Searchcd.h"
#include "window/dialogs/MessageBox.h"
#include "platform/TextCodec.h"
#include "window/controls/WxText.h"
#include "search/SearchSummary.h"
#include "window/app/IndexKeeper.h"
#include "workflows/Search.h"

namespace movra {
namespace {

// The status bar panel that reports a search.
constexpr int kSearchStatusPanel = 2;

bool SearchButtonDown(const TForm1& form) { return form.ToolBar1->GetToolState(form.ToolButton10->GetId()); }

void SetSearchButton(TForm1& form, bool down) { form.ToolBar1->ToggleTool(form.ToolButton10->GetId(), down); }

// Empties and hides the results.
void CloseResults(TForm1& form) {
  form.ListView2->ClearRows();
  form.ShowResultsPanel(false);
  form.SetStatusPanel(kSearchStatusPanel, wxString());
}

// Tells the user why there is no search, then closes the results and puts the button up.
void RefuseSearch(TForm1& form, const std::string& message) {
  ShowInfoBox(&form, message);
  CloseResults(form);
  SetSearchButton(form, false);
}

// Shows the find dialog preset with the location node; the request, or
// nothing when the dialog was not closed with 开始.
std::optional<SearchRequest> AskForRequest(TForm1& form, const wxTreeItemId& node) {
  TFindFile dialog(&form, form.Catalogue());
  dialog.SetLocation(NodePath(*form.TreeView1, node), form.TreeView1->GetItemImage(node) == kDiscImage);
  // The last search of the run is offered again.
  dialog.edt1->ChangeValue(GbkToWx(form.last_search.text));
  dialog.edt1->SelectAll();
  dialog.CheckBox1->SetValue(form.last_search.case_sensitive);
  dialog.CheckBox2->SetValue(form.last_search.literal_match);
  dialog.SetConditions(form.last_search.conditions);
  ShowDialogModal(dialog);
  if (!dialog.Started()) return std::nullopt;
  form.last_search = {dialog.SearchText(), dialog.CaseSensitive(), dialog.LiteralMatch(), dialog.Conditions()};
  return SearchRequest{dialog.SearchText(), dialog.LocationPath(),
                       dialog.LocationIsDisc() ? LocationKind::kDisc : LocationKind::kCategory,
                       MatchOptions{dialog.CaseSensitive(), dialog.LiteralMatch()}, dialog.Conditions()};
}

// Searches the located discs into the results list, with progress after
// half a second; the rows found stay when the user stops it or a snapshot
// line holds no date-time.
void SearchDiscsInto(TForm1& form, const std::vector<DiscListEntry>& discs, const SearchRequest& request) {
  ResultsListCtrl& list = *form.ListView2;
  SearchFeedback feedback(&form, discs);
  IndexKeeper& keeper = form.NameIndexKeeper();
  const SearchOutcome outcome = RunSearch(
      form.DataFolder(), discs, request, list.Rows(),
      [&](const SearchStep& step) {
        if (!step.missing_message.empty()) ShowInfoBox(&form, step.missing_message);
        list.ShowRows();  // cheap: the list draws only what is on screen, when it gets to paint
        return feedback.Report(SearchProgress{step.index, step.count, step.disc, nullptr});
      },
      keeper.ForSearch(),
      // Discs read whole are indexed in the background for the next search.
      [&keeper](const std::vector<std::string>& stale) { keeper.UpdateLater(stale); });
  list.ShowRows();
  form.SetStatusPanel(kSearchStatusPanel, GbkToWx(SearchSummaryText(outcome.matches, outcome.discs_searched, request.conditions)));
  if (outcome.end == SearchEnd::kStoppedAtBadTime) {
    // A time text that is no date-time stops the search; the message names
    // the disc and quotes the text, which may hold GBK bytes.
    wxMessageDialog box(&form, GbkToWx(outcome.message), "Movra", wxOK | wxICON_ERROR);
    box.ShowModal();
  }
}

}  // namespace

void TForm1::ToolButton10Click() {
  if (!SearchButtonDown(*this)) {
    CloseResults(*this);
    return;
  }
  wxTreeItemId node = CurrentCategoryNode();
  // A folder of a disc searches that disc.
  while (node.IsOk() && (TreeView1->GetItemImage(node) == kRootFolderImage || TreeView1->GetItemImage(node) == kFolderImage))
    node = ParentNode(*TreeView1, node);
  if (!node.IsOk() && CurrentCategoryNode().IsOk()) node = CurrentCategoryNode();
  if (!node.IsOk()) {
    RefuseSearch(*this, Utf8ToGbk("请选择搜索位置（类别／光盘）！"));
    return;
  }
  const int image = TreeView1->GetItemImage(node);
  if (image != kCategoryImage && image != kDiscImage) {
    RefuseSearch(*this, Utf8ToGbk("请指定类别或者光盘！"));
    return;
  }
  const std::optional<SearchRequest> request = AskForRequest(*this, node);
  if (!request) {
    CloseResults(*this);
    SetSearchButton(*this, false);
    return;
  }
  // An empty text without a condition, or a location that names nothing, ends the command quietly.
  if (!AsksForSomething(*request)) {
    SetSearchButton(*this, false);
    return;
  }
  const std::optional<std::vector<DiscListEntry>> discs = LocateSearch(Catalogue(), *request);
  if (!discs) {
    SetSearchButton(*this, false);
    return;
  }
  ShowResultsPanel(true);
  SearchDiscsInto(*this, *discs, *request);
}

void TForm1::N50Click() {
  SetSearchButton(*this, !SearchButtonDown(*this));
  ToolButton10Click();
}

void TForm1::N12Click() { N50Click(); }

// The splitter keeps the results panel at least 23 pixels high (its minimum
// pane size) and, docked in the frame's client area, stays directly above the
// panel and the status bar below it by itself: both events keep their usual
// processing.
void TForm1::Splitter2Moved(wxSplitterEvent& event) { event.Skip(); }

void TForm1::Splitter2CanResize(wxSplitterEvent& event) { event.Skip(); }

void TForm1::ListView2ContextMenu(wxContextMenuEvent& event) {
  wxPoint screen = event.GetPosition();
  if (screen == wxDefaultPosition) screen = ListView2->ClientToScreen(wxPoint(0, 0));  // from the keyboard
  popup_menu(*PopupMenu5, screen);
}

}  // namespace movra
