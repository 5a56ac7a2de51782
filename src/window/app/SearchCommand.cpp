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
#include "nameindex/NameIndex.h"
#include "window/dialogs/MessageBox.h"
#include "platform/TextCodec.h"
#include "window/controls/WxText.h"
#include "search/DiscList.h"
#include "search/NameMatcher.h"
#include "search/SearchSummary.h"
#include "search/SnapshotSearch.h"

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

// What the find dialog asked for, read when it closed with 开始.
struct SearchRequest {
  std::string text;
  std::string location;
  bool location_is_disc = false;
  MatchOptions options;
};

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
  ShowDialogModal(dialog);
  if (!dialog.Started()) return std::nullopt;
  form.last_search = {dialog.SearchText(), dialog.CaseSensitive(), dialog.LiteralMatch()};
  return SearchRequest{dialog.SearchText(), dialog.LocationPath(), dialog.LocationIsDisc(),
                       MatchOptions{dialog.CaseSensitive(), dialog.LiteralMatch()}};
}

// Searches the discs below the located element into the results list, with
// progress after half a second; the rows found stay when the user stops it or
// a snapshot line holds no date-time.
void SearchDiscsInto(TForm1& form, Element located, const SearchRequest& request) {
  const std::vector<DiscListEntry> discs = BuildDiscList(located);
  NameMatcher matcher(request.text, request.options);
  ResultsListCtrl& list = *form.ListView2;
  const size_t rows_before = list.Rows().size();
  size_t discs_searched = 0;
  std::string time_error;
  SearchFeedback feedback(&form, discs);
  std::vector<std::string> stale;
  const SearchEnd end = SearchDiscs(
      form.DataFolder(), discs, matcher, list.Rows(), [&](const SearchProgress& progress) {
        const DiscReport& report = *progress.report;
        if (report.outcome == DiscOutcome::kMissing) {
          ShowInfoBox(&form, Utf8ToGbk("光盘(" + report.snapshot_path + ")不存在！"));
        } else {
          ++discs_searched;
        }
        if (report.outcome == DiscOutcome::kBadTime) time_error = report.error;
        list.ShowRows();  // cheap: the list draws only what is on screen, when it gets to paint
        return feedback.Report(progress);
      },
      form.NameIndexKeeper().ForSearch(), &stale);
  // Discs whose index part was missing or out of date were read whole; they
  // are indexed in the background for the next search.
  form.NameIndexKeeper().UpdateLater(stale);
  list.ShowRows();
  const size_t matches = list.Rows().size() - rows_before - discs_searched;
  form.SetStatusPanel(kSearchStatusPanel, GbkToWx(SearchSummaryText(matches, discs_searched)));
  if (end == SearchEnd::kStoppedAtBadTime) {
    // A time text that is no date-time stops the search; the message names
    // the disc and quotes the text, which may hold GBK bytes.
    wxMessageDialog box(&form, GbkToWx(time_error), "Movra", wxOK | wxICON_ERROR);
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
  // An empty text or a location that names nothing ends the command quietly.
  if (request->text.empty()) {
    SetSearchButton(*this, false);
    return;
  }
  const Element located = Catalogue().ResolvePath(request->location, request->location_is_disc);
  if (!located) {
    SetSearchButton(*this, false);
    return;
  }
  ShowResultsPanel(true);
  SearchDiscsInto(*this, located, *request);
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
