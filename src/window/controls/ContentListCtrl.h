// The content list: a panel that shows a ListModel in one of four view styles.
// Details is a virtual report list over the model (fast for large folders);
// the icon, small-icon and list styles use a plain list filled from the model
// while one of them is chosen. The selection lives in the model and is kept in
// step with whichever list is shown.
#pragma once

#include <string>
#include <vector>

#include <wx/event.h>
#include <wx/listctrl.h>
#include <wx/panel.h>

#include "browse/ListModel.h"

class wxImageList;

namespace movra {

// The four view styles of the content list.
enum class ListViewStyle { LargeIcons, SmallIcons, List, Details };

// A report column: caption (GBK), width in pixels (-1 for the default) and alignment.
struct ListColumnSpec {
  std::string caption;                           // header text (GBK)
  int width = -1;                                // pixels; -1 for the toolkit's default
  wxListColumnFormat align = wxLIST_FORMAT_LEFT; // text alignment
};

// Sent after the selection changed through the user or SelectAll/InvertSelection.
wxDECLARE_EVENT(EVT_CONTENT_SELECTION_CHANGED, wxCommandEvent);
// Sent on a double click or Enter on a row; GetInt() is the row.
wxDECLARE_EVENT(EVT_CONTENT_ITEM_ACTIVATED, wxCommandEvent);
// Sent on a click on a column header; GetInt() is the column index.
wxDECLARE_EVENT(EVT_CONTENT_COLUMN_CLICK, wxCommandEvent);
// Sent when the user asks for the context menu; GetPosition() is in screen coordinates.
wxDECLARE_EVENT(EVT_CONTENT_CONTEXT_MENU, wxContextMenuEvent);

class ContentVirtualList;

// The content list widget over a ListModel.
class ContentListCtrl : public wxPanel {
 public:
  // Creates the lists in details style; the image lists stay the caller's.
  ContentListCtrl(wxWindow* parent, wxWindowID id, std::vector<ListColumnSpec> columns,
                  wxImageList* smallImages, wxImageList* largeImages);
  ~ContentListCtrl() override;

  // The rows shown; call RefreshFromModel after changing them.
  ListModel& Model() { return model_; }
  // The rows shown (read only).
  const ListModel& Model() const { return model_; }
  // Shows the model's rows and selection again; sends no event.
  void RefreshFromModel();

  // Switches the view style, keeping rows and selection.
  void SetViewStyle(ListViewStyle style);
  // The current view style.
  ListViewStyle ViewStyle() const { return style_; }

  // Number of report columns.
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  // Caption (GBK) of column index; empty for an index out of range.
  std::string ColumnCaption(int index) const;

  // Widths of the report columns, in pixels.
  std::vector<int> ColumnWidths() const;
  // Sets the widths of the first columns (as many as given; values below 20 are skipped).
  void SetColumnWidths(const std::vector<int>& widths);
  // Shows the sort arrow in a column's header (ascending or not); -1 removes it.
  void ShowSortArrow(int column, bool ascending);

  // Selects every row and reports the change.
  void SelectAll();
  // Inverts the selection of every row and reports the change.
  void InvertSelection();

  // The list widget shown now (the report list or the icon list).
  wxListCtrl* ActiveList() const;

  // Suppresses this control's events while it lives (refills, sorting).
  class Quiet {
   public:
    // Starts suppressing the events of list.
    explicit Quiet(ContentListCtrl& list) : list_(list) { ++list_.quietDepth_; }
    ~Quiet() { --list_.quietDepth_; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

   private:
    ContentListCtrl& list_;
  };

 private:
  bool IconStyleShown() const { return style_ != ListViewStyle::Details; }
  void FillIconList();
  void PushSelectionToView();
  void OnItemSelection(wxListEvent& event, bool selected);
  void OnItemFocused(wxListEvent& event);
  void ScheduleSync();
  void SyncFromView();
  void NotifySelection();
  void OnActivated(wxListEvent& event);
  void OnColumnClick(wxListEvent& event);
  void OnContextMenu(wxContextMenuEvent& event);

  ListModel model_;
  std::vector<ListColumnSpec> columns_;
  ContentVirtualList* report_ = nullptr;
  wxListCtrl* icons_ = nullptr;
  ListViewStyle style_ = ListViewStyle::Details;
  int quietDepth_ = 0;      // > 0: no events sent
  int pushingDepth_ = 0;    // > 0: selection being written to the view; its events are ours
  bool syncPending_ = false;
  bool selectionDirty_ = false;
};

}  // namespace movra
