// The Linux side of the program's icons: PNG files in the icon theme of the
// installation prefix.
#include "window/platform/ProgramIcons.h"

#include <wx/icon.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/log.h>

#include "platform/FileSystem.h"
#include "platform/HelpFile.h"

namespace movra {

wxIconBundle ProgramIcons(const std::string& program_folder) {
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxIconBundle icons;
  for (const char* size : {"16x16", "32x32", "48x48", "256x256"}) {
    const std::string path =
        InstalledFilePath(program_folder, std::string("share/icons/hicolor/") + size + "/apps/movra.png");
    if (path.empty() || !Fs().FileExists(path)) continue;
    wxLogNull quiet;  // an unreadable file only costs the icon
    const wxIcon icon(wxString::FromUTF8(path), wxBITMAP_TYPE_PNG);
    if (icon.IsOk()) icons.AddIcon(icon);
  }
  return icons;
}

}  // namespace movra
