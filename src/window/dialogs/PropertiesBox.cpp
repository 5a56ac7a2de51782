#include "window/dialogs/PropertiesBox.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "window/dialogs/ModalDialogs.h"
#include "window/controls/WxText.h"

namespace movra {

TPropertiesBox::TPropertiesBox(wxWindow* parent, std::vector<PropertyLine> lines)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8("属性")), lines_(std::move(lines)) {
  auto* grid = new wxFlexGridSizer(2, wxSize(8, 6));
  grid->AddGrowableCol(1);
  for (const PropertyLine& line : lines_) {
    const wxString value = GbkToWx(line.value);
    const bool several = value.Find('\n') != wxNOT_FOUND;
    grid->Add(new wxStaticText(this, wxID_ANY, GbkToWx(line.label)), 0, wxALIGN_TOP | wxTOP, 4);
    // Read-only text fields: a path or a name can be selected and copied.
    auto* field = new wxTextCtrl(this, wxID_ANY, value, wxDefaultPosition, wxSize(360, several ? 60 : -1),
                                 wxTE_READONLY | (several ? wxTE_MULTILINE : 0));
    grid->Add(field, 1, wxEXPAND);
  }
  auto* ok = new wxButton(this, wxID_OK, wxString::FromUTF8("确定"));
  ok->SetDefault();
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(grid, 1, wxEXPAND | wxALL, 12);
  sizer->Add(ok, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(sizer);
  SetEscapeId(wxID_OK);
  CentreOnParent();
}

void ShowProperties(wxWindow* parent, std::vector<PropertyLine> lines) {
  TPropertiesBox box(parent, std::move(lines));
  ShowDialogModal(box);
}

}  // namespace movra
