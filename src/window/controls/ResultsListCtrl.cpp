#include "window/controls/ResultsListCtrl.h"

#include "browse/DisplayFormat.h"
#include "window/platform/IconProvider.h"
#include "window/controls/WxText.h"

namespace movra {
namespace {

// A caption written in the source as UTF-8.
wxString U(const char* utf8) { return wxString::FromUTF8(utf8); }

}  // namespace

ResultsListCtrl::ResultsListCtrl(wxWindow* parent, wxWindowID id, IconProvider& icons)
    : wxListCtrl(parent, id, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_VIRTUAL | wxBORDER_THEME),
      icons_(icons) {
  EnableCheckBoxes(true);
  SetImageList(icons_.SmallImages(), wxIMAGE_LIST_SMALL);
  SetImageList(icons_.LargeImages(), wxIMAGE_LIST_NORMAL);
  AppendColumn(U("名称"), wxLIST_FORMAT_LEFT, 250);
  AppendColumn(U("大小"), wxLIST_FORMAT_RIGHT, 80);
  AppendColumn(U("修改时间"), wxLIST_FORMAT_LEFT, 110);
  AppendColumn(U("所在文件夹"), wxLIST_FORMAT_LEFT, 200);
  AppendColumn(U("类型"), wxLIST_FORMAT_LEFT);
  header_attr_.SetFont(GetFont().Bold());
  // A click on a check box reaches the list only as these events.
  Bind(wxEVT_LIST_ITEM_CHECKED, &ResultsListCtrl::OnCheckToggled, this);
  Bind(wxEVT_LIST_ITEM_UNCHECKED, &ResultsListCtrl::OnCheckToggled, this);
}

void ResultsListCtrl::ShowRows() {
  if (static_cast<size_t>(GetItemCount()) == rows_.size()) return;
  checked_.resize(rows_.size(), false);
  SetItemCount(static_cast<long>(rows_.size()));
  Refresh();
}

void ResultsListCtrl::ClearRows() {
  SetItemCount(0);
  rows_.Clear();
  std::vector<bool>().swap(checked_);
  Refresh();
}

std::string ResultsListCtrl::CellText(size_t row_index, long column) const {
  const SearchRow& row = rows_[row_index];
  const bool header = row.kind == RowKind::kDisc;
  switch (column) {
    case kResultsName: return std::string(SearchResults::Name(row));
    case kResultsSize: return header ? std::string() : FormatSize(row.size);
    case kResultsDate: return header || row.kind == RowKind::kGroup ? std::string() : FormatDate(row.modified);
    case kResultsFolder: return std::string(SearchResults::Folder(row));
    case kResultsType:
      if (row.kind == RowKind::kGroup) return std::string(kTypeDuplicates);
      return std::string(header ? kTypeDisc : row.kind == RowKind::kFile ? kTypeFile : kTypeDirectory);
    default: return std::string();
  }
}

int ResultsListCtrl::RowIcon(size_t row_index) const {
  const SearchRow& row = rows_[row_index];
  switch (row.kind) {
    case RowKind::kDisc: return icons_.DiscIconIndex();
    case RowKind::kFolder: return icons_.FolderIconIndex();
    case RowKind::kGroup: return -1;
    case RowKind::kFile: break;
  }
  return icons_.IconOfExtension(SearchResults::Name(row));
}

bool ResultsListCtrl::IsItemChecked(long item) const {
  return item >= 0 && static_cast<size_t>(item) < checked_.size() && checked_[static_cast<size_t>(item)];
}

void ResultsListCtrl::CheckItem(long item, bool check) {
  if (item < 0 || static_cast<size_t>(item) >= checked_.size()) return;
  checked_[static_cast<size_t>(item)] = check;
  RefreshItem(item);
}

void ResultsListCtrl::OnCheckToggled(wxListEvent& event) {
  const long item = event.GetIndex();
  if (item >= 0 && static_cast<size_t>(item) < checked_.size())
    checked_[static_cast<size_t>(item)] = event.GetEventType() == wxEVT_LIST_ITEM_CHECKED;
  event.Skip();
}

wxString ResultsListCtrl::OnGetItemText(long item, long column) const {
  if (item < 0 || static_cast<size_t>(item) >= rows_.size()) return wxString();
  return GbkToWx(CellText(static_cast<size_t>(item), column));
}

int ResultsListCtrl::OnGetItemImage(long item) const {
  if (item < 0 || static_cast<size_t>(item) >= rows_.size()) return -1;
  return RowIcon(static_cast<size_t>(item));
}

wxItemAttr* ResultsListCtrl::OnGetItemAttr(long item) const {
  if (item < 0 || static_cast<size_t>(item) >= rows_.size()) return nullptr;
  return RowIsHeader(static_cast<size_t>(item)) ? &header_attr_ : nullptr;
}

bool ResultsListCtrl::OnGetItemIsChecked(long item) const { return IsItemChecked(item); }

}  // namespace movra
