#include "window/controls/ContentListCtrl.h"

#include <wx/imaglist.h>
#include <wx/sizer.h>

#include "window/controls/WxText.h"

namespace movra {

wxDEFINE_EVENT(EVT_CONTENT_SELECTION_CHANGED, wxCommandEvent);
wxDEFINE_EVENT(EVT_CONTENT_ITEM_ACTIVATED, wxCommandEvent);
wxDEFINE_EVENT(EVT_CONTENT_COLUMN_CLICK, wxCommandEvent);
wxDEFINE_EVENT(EVT_CONTENT_CONTEXT_MENU, wxContextMenuEvent);

// The details view: a virtual report list that reads its texts and icons
// from the model when it paints, so a refill costs no per-row widget work.
class ContentVirtualList : public wxListCtrl {
 public:
  ContentVirtualList(wxWindow* parent, const ListModel& model)
      : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_VIRTUAL),
        model_(model) {}

  wxString OnGetItemText(long item, long column) const override {
    if (item < 0 || static_cast<std::size_t>(item) >= model_.Count() || column < 0) return wxString();
    if (column == 0) return GbkToWx(model_.Row(item).caption);
    return GbkToWx(model_.SubItem(item, static_cast<std::size_t>(column - 1)));
  }

  int OnGetItemImage(long item) const override {
    if (item < 0 || static_cast<std::size_t>(item) >= model_.Count()) return -1;
    return model_.Row(item).icon;
  }

 private:
  const ListModel& model_;
};

namespace {

long ModeFlag(ListViewStyle style) {
  switch (style) {
    case ListViewStyle::LargeIcons: return wxLC_ICON;
    case ListViewStyle::SmallIcons: return wxLC_SMALL_ICON;
    case ListViewStyle::List: return wxLC_LIST;
    case ListViewStyle::Details: return wxLC_REPORT;
  }
  return wxLC_REPORT;
}

}  // namespace

ContentListCtrl::ContentListCtrl(wxWindow* parent, wxWindowID id, std::vector<ListColumnSpec> columns,
                                 wxImageList* smallImages, wxImageList* largeImages)
    : wxPanel(parent, id), columns_(std::move(columns)) {
  report_ = new ContentVirtualList(this, model_);
  icons_ = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_ICON);
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const ListColumnSpec& c = columns_[i];
    report_->InsertColumn(static_cast<long>(i), GbkToWx(c.caption), c.align,
                          c.width < 0 ? wxLIST_DEFAULT_COL_WIDTH : c.width);
  }
  if (smallImages != nullptr) {
    report_->SetImageList(smallImages, wxIMAGE_LIST_SMALL);
    icons_->SetImageList(smallImages, wxIMAGE_LIST_SMALL);
  }
  if (largeImages != nullptr) icons_->SetImageList(largeImages, wxIMAGE_LIST_NORMAL);
  icons_->Hide();

  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(report_, 1, wxEXPAND);
  sizer->Add(icons_, 1, wxEXPAND);
  SetSizer(sizer);

  // List events are command events and reach the panel from either list.
  Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& e) { OnItemSelection(e, true); });
  Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent& e) { OnItemSelection(e, false); });
  Bind(wxEVT_LIST_ITEM_FOCUSED, &ContentListCtrl::OnItemFocused, this);
  Bind(wxEVT_LIST_ITEM_ACTIVATED, &ContentListCtrl::OnActivated, this);
  Bind(wxEVT_LIST_COL_CLICK, &ContentListCtrl::OnColumnClick, this);
  Bind(wxEVT_CONTEXT_MENU, &ContentListCtrl::OnContextMenu, this);
}

ContentListCtrl::~ContentListCtrl() = default;

wxListCtrl* ContentListCtrl::ActiveList() const {
  return IconStyleShown() ? icons_ : static_cast<wxListCtrl*>(report_);
}

std::vector<int> ContentListCtrl::ColumnWidths() const {
  std::vector<int> widths;
  for (int i = 0; i < report_->GetColumnCount(); ++i) widths.push_back(report_->GetColumnWidth(i));
  return widths;
}

void ContentListCtrl::SetColumnWidths(const std::vector<int>& widths) {
  for (std::size_t i = 0; i < widths.size() && static_cast<int>(i) < report_->GetColumnCount(); ++i)
    if (widths[i] >= 20) report_->SetColumnWidth(static_cast<int>(i), widths[i]);
}

void ContentListCtrl::ShowSortArrow(int column, bool ascending) {
  if (column < 0 || column >= report_->GetColumnCount())
    report_->RemoveSortIndicator();
  else
    report_->ShowSortIndicator(column, ascending);
}

std::string ContentListCtrl::ColumnCaption(int index) const {
  if (index < 0 || index >= ColumnCount()) return std::string();
  return columns_[static_cast<std::size_t>(index)].caption;
}

void ContentListCtrl::RefreshFromModel() {
  if (IconStyleShown()) {
    FillIconList();
    return;
  }
  ++pushingDepth_;
  report_->SetItemCount(static_cast<long>(model_.Count()));
  --pushingDepth_;
  PushSelectionToView();
  report_->Refresh();
}

void ContentListCtrl::FillIconList() {
  ++pushingDepth_;
  icons_->Freeze();
  icons_->DeleteAllItems();
  for (std::size_t i = 0; i < model_.Count(); ++i) {
    const ListRow& row = model_.Row(i);
    icons_->InsertItem(static_cast<long>(i), GbkToWx(row.caption), row.icon);
  }
  icons_->Thaw();
  --pushingDepth_;
  PushSelectionToView();
}

void ContentListCtrl::PushSelectionToView() {
  wxListCtrl* list = ActiveList();
  if (static_cast<std::size_t>(list->GetItemCount()) != model_.Count()) return;
  ++pushingDepth_;
  if (model_.SelectedCount() == model_.Count() && !model_.Empty()) {
    list->SetItemState(-1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  } else {
    list->SetItemState(-1, 0, wxLIST_STATE_SELECTED);
    for (std::size_t i : model_.SelectedIndexes())
      list->SetItemState(static_cast<long>(i), wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
  }
  --pushingDepth_;
}

void ContentListCtrl::SetViewStyle(ListViewStyle style) {
  if (style == style_) return;
  const bool wasIcons = IconStyleShown();
  style_ = style;
  Freeze();
  if (IconStyleShown()) {
    icons_->SetSingleStyle(ModeFlag(style));
    // The plain list keeps its items between the icon styles; it is filled
    // only when coming from the details view (or if the toolkit dropped them).
    if (!wasIcons || static_cast<std::size_t>(icons_->GetItemCount()) != model_.Count())
      FillIconList();
    report_->Hide();
    icons_->Show();
  } else {
    ++pushingDepth_;
    icons_->DeleteAllItems();
    --pushingDepth_;
    icons_->Hide();
    report_->Show();
    RefreshFromModel();
  }
  Layout();
  Thaw();
}

void ContentListCtrl::SelectAll() {
  if (model_.SelectedCount() == model_.Count()) return;
  model_.SelectAll();
  PushSelectionToView();
  selectionDirty_ = true;
  NotifySelection();
}

void ContentListCtrl::InvertSelection() {
  if (model_.Empty()) return;
  model_.InvertSelection();
  PushSelectionToView();
  selectionDirty_ = true;
  NotifySelection();
}

void ContentListCtrl::OnItemSelection(wxListEvent& event, bool selected) {
  if (pushingDepth_ > 0 || event.GetEventObject() != ActiveList()) return;
  const long index = event.GetIndex();
  if (index >= 0 && static_cast<std::size_t>(index) < model_.Count() &&
      model_.SetSelected(static_cast<std::size_t>(index), selected))
    selectionDirty_ = true;
  // The virtual list changes ranges of rows without an event per row; the
  // full comparison after the event burst catches them.
  ScheduleSync();
}

void ContentListCtrl::OnItemFocused(wxListEvent& event) {
  if (pushingDepth_ > 0 || event.GetEventObject() != ActiveList()) return;
  // Shift-click and Shift+arrow move the focus first and extend the
  // selection afterwards, silently in the virtual list.
  ScheduleSync();
}

void ContentListCtrl::ScheduleSync() {
  if (syncPending_) return;
  syncPending_ = true;
  CallAfter([this] {
    syncPending_ = false;
    SyncFromView();
    NotifySelection();
  });
}

void ContentListCtrl::SyncFromView() {
  wxListCtrl* list = ActiveList();
  if (static_cast<std::size_t>(list->GetItemCount()) != model_.Count()) return;
  for (std::size_t i = 0; i < model_.Count(); ++i) {
    const bool selected = list->GetItemState(static_cast<long>(i), wxLIST_STATE_SELECTED) != 0;
    if (model_.SetSelected(i, selected)) selectionDirty_ = true;
  }
}

void ContentListCtrl::NotifySelection() {
  if (!selectionDirty_) return;
  selectionDirty_ = false;
  if (quietDepth_ > 0) return;
  wxCommandEvent event(EVT_CONTENT_SELECTION_CHANGED, GetId());
  event.SetEventObject(this);
  ProcessWindowEvent(event);
}

void ContentListCtrl::OnActivated(wxListEvent& event) {
  if (event.GetEventObject() != ActiveList()) return;
  // The window acts on the selection: bring the model up to date first.
  SyncFromView();
  NotifySelection();
  if (quietDepth_ > 0) return;
  wxCommandEvent out(EVT_CONTENT_ITEM_ACTIVATED, GetId());
  out.SetEventObject(this);
  out.SetInt(static_cast<int>(event.GetIndex()));
  ProcessWindowEvent(out);
}

void ContentListCtrl::OnColumnClick(wxListEvent& event) {
  if (event.GetEventObject() != ActiveList() || event.GetColumn() < 0 || quietDepth_ > 0) return;
  wxCommandEvent out(EVT_CONTENT_COLUMN_CLICK, GetId());
  out.SetEventObject(this);
  out.SetInt(event.GetColumn());
  ProcessWindowEvent(out);
}

void ContentListCtrl::OnContextMenu(wxContextMenuEvent& event) {
  // A right click may have changed the selection just before.
  SyncFromView();
  NotifySelection();
  if (quietDepth_ > 0) return;
  wxContextMenuEvent out(EVT_CONTENT_CONTEXT_MENU, GetId(), event.GetPosition());
  out.SetEventObject(this);
  ProcessWindowEvent(out);
}

}  // namespace movra
