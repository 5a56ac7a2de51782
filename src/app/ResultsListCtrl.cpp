#include "app/ResultsListCtrl.h"

namespace movra {

ResultsListCtrl::ResultsListCtrl(wxWindow* parent, wxWindowID id)
    : wxListCtrl(parent, id, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_VIRTUAL | wxBORDER_THEME) {
  EnableCheckBoxes(true);
}

void ResultsListCtrl::SetProviders(TextProvider text, ImageProvider image) {
  text_ = std::move(text);
  image_ = std::move(image);
}

wxString ResultsListCtrl::OnGetItemText(long item, long column) const {
  return text_ ? text_(item, column) : wxString();
}

int ResultsListCtrl::OnGetItemImage(long item) const { return image_ ? image_(item) : -1; }

bool ResultsListCtrl::OnGetItemIsChecked(long) const { return false; }

}  // namespace movra
