// Linux keeps settings in the XDG configuration folder, apart from the data.
#include "window/platform/SettingsPlace.h"

#include <wx/stdpaths.h>

namespace movra {

SettingsLocation SystemSettingsLocation() {
  wxStandardPaths& paths = wxStandardPaths::Get();
  paths.SetFileLayout(wxStandardPaths::FileLayout_XDG);
  return {SettingsPlace::kUserConfigFolder, paths.GetUserConfigDir().utf8_string()};
}

}  // namespace movra
