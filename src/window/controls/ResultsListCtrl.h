// The search results list: a virtual report list with a check box per row,
// drawn straight from the search's compact rows. Texts are formatted only for
// the rows on screen, so a million results cost no widget items and no
// formatted text; the check marks are one bit per row.
#pragma once

#include <string>
#include <vector>

#include <wx/listctrl.h>

#include "search/SearchResults.h"

namespace movra {

class IconProvider;

// The columns, in order.
enum ResultsColumn : long {
  kResultsName,    // 名称
  kResultsSize,    // 大小
  kResultsDate,    // 修改时间
  kResultsFolder,  // 所在文件夹
  kResultsType,    // 类型
};

class ResultsListCtrl : public wxListCtrl {
 public:
  // Creates the empty list with its five columns, showing icons from icons.
  ResultsListCtrl(wxWindow* parent, wxWindowID id, IconProvider& icons);

  // The rows; after adding rows call ShowRows to put them on screen.
  SearchResults& Rows() { return rows_; }
  // The rows, read-only.
  const SearchResults& Rows() const { return rows_; }
  // Makes the list show every row added so far (new rows unchecked).
  void ShowRows();
  // Removes every row and its check mark and releases their memory.
  void ClearRows();

  // The GBK text of a cell as the list shows it.
  std::string CellText(size_t row, long column) const;
  // The icon of a row: the disc, folder or file type icon.
  int RowIcon(size_t row) const;
  // True for a disc header row, which is drawn in bold.
  bool RowIsHeader(size_t row) const { return rows_[row].kind == RowKind::kDisc || rows_[row].kind == RowKind::kGroup; }

  // Check marks live in the list, not in the toolkit's items.
  bool IsItemChecked(long item) const override;
  void CheckItem(long item, bool check) override;

 protected:
  wxString OnGetItemText(long item, long column) const override;
  int OnGetItemImage(long item) const override;
  wxItemAttr* OnGetItemAttr(long item) const override;
  bool OnGetItemIsChecked(long item) const override;

 private:
  // A click on a row's check box.
  void OnCheckToggled(wxListEvent& event);

  IconProvider& icons_;
  SearchResults rows_;
  std::vector<bool> checked_;
  mutable wxItemAttr header_attr_;  // bold; the list asks for a non-const pointer
};

}  // namespace movra
