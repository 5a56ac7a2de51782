// What the main window remembers between runs: its place and size, the
// splitters, the columns of both lists, the view style, the active tab and
// the names a scan leaves out.
// They live in the INI file movra.ini, where the system keeps settings
// (window/platform/SettingsPlace.h); a missing or damaged file, or a value
// out of range, gives the defaults.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <wx/gdicmn.h>

#include "platform/DataHome.h"
#include "window/controls/ContentListCtrl.h"
#include "window/platform/SettingsPlace.h"

namespace movra {

struct WindowSettings {
  std::optional<wxRect> frame;        // outer place and size; none: 70 % of the screen, centred
  bool maximized = false;             // the window was maximised
  int left_pane = 233;                // width of the trees' pane
  int results_height = 100;           // height of the search results panel
  std::vector<int> content_columns;   // widths of the content list's columns (empty: defaults)
  std::vector<int> results_columns;   // widths of the results list's columns (empty: defaults)
  std::optional<ListViewStyle> view_style;  // the user's view style for folders; none: the window's own
  int active_tab = 0;                 // 0 categories, 1 discs
  std::string scan_exclusions;        // the Add dialog's 排除 field (UTF-8), also used by 更新光盘
};

// The settings file (native path) at place for a run with home:
// user_config_folder/movra/movra.ini, or movra.ini in the home's folder (for
// the data home place, or when the configuration folder is unknown).
std::string SettingsFileFor(SettingsPlace place, const DataHome& home, const std::string& user_config_folder);

// The settings file of a run with home on this system.
std::string DefaultSettingsFile(const DataHome& home);

// Reads the settings from a file (native path); defaults for what is missing or unusable.
WindowSettings LoadWindowSettings(const std::string& file);

// Writes the settings (the folder is made when missing); false when the file could not be written.
bool SaveWindowSettings(const std::string& file, const WindowSettings& settings);

}  // namespace movra
