// Where this system keeps the main window's settings file.
#pragma once

#include <string>

namespace movra {

// The two places a settings file can live.
enum class SettingsPlace {
  kUserConfigFolder,  // a folder movra in the user's configuration folder (Linux: $XDG_CONFIG_HOME)
  kDataHome,          // the data home itself (Windows: %APPDATA%\Movra, or the program folder when portable)
};

// This system's place, and the user's configuration folder it uses (native; empty when none).
struct SettingsLocation {
  SettingsPlace place = SettingsPlace::kDataHome;
  std::string user_config_folder;
};

// The location of this system; never the Windows registry.
SettingsLocation SystemSettingsLocation();

}  // namespace movra
