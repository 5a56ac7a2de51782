#include "window/dialogs/FolderPicker.h"

#include <wx/dirdlg.h>
#include <wx/filefn.h>
#include <wx/stdpaths.h>
#include <wx/utils.h>

#include "window/controls/WxText.h"

namespace movra {

namespace {

FolderPicker* g_picker = nullptr;

// The user's desktop folder, or the home folder on desktops that have none.
wxString StartFolder() {
  const wxString desktop = wxStandardPaths::Get().GetUserDir(wxStandardPaths::Dir_Desktop);
  return wxDirExists(desktop) ? desktop : wxGetHomeDir();
}

}  // namespace

std::optional<std::string> DesktopFolderPicker::ChooseFolder(wxWindow* parent, std::string_view gbk_caption) {
  wxDirDialog dialog(parent, GbkToWx(gbk_caption), StartFolder(), wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return std::string(dialog.GetPath().utf8_str());
}

FolderPicker& Folders() {
  static DesktopFolderPicker desktop;
  return g_picker ? *g_picker : desktop;
}

void SetFolderPicker(FolderPicker* picker) { g_picker = picker; }

}  // namespace movra
