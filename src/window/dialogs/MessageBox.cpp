#include "window/dialogs/MessageBox.h"

#include <wx/msgdlg.h>

#include "window/controls/WxText.h"

namespace movra {

bool ShowInfoBox(wxWindow* parent, std::string_view gbk_text, BoxButtons buttons) {
  long style = wxICON_INFORMATION | (buttons == BoxButtons::kYesNo ? wxYES_NO : wxOK);
  wxMessageDialog box(parent, GbkToWx(gbk_text), "Movra", style);
  return box.ShowModal() == wxID_YES;
}

}  // namespace movra
