// The search results list: a virtual report list with a check box per row.
// Rows come from a provider, so a million results cost no widget items.
#pragma once

#include <functional>

#include <wx/listctrl.h>

namespace movra {

class ResultsListCtrl : public wxListCtrl {
 public:
  // Text of a cell (row, column).
  using TextProvider = std::function<wxString(long row, long column)>;
  // Image of a row, or -1.
  using ImageProvider = std::function<int(long row)>;

  // Creates the list in report view with check boxes and no rows.
  ResultsListCtrl(wxWindow* parent, wxWindowID id);

  // Sets where the cells come from; without one every cell is empty.
  void SetProviders(TextProvider text, ImageProvider image);

 protected:
  wxString OnGetItemText(long item, long column) const override;
  int OnGetItemImage(long item) const override;
  bool OnGetItemIsChecked(long item) const override;

 private:
  TextProvider text_;
  ImageProvider image_;
};

}  // namespace movra
