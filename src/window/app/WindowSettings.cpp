#include "window/app/WindowSettings.h"

#include <wx/fileconf.h>
#include <wx/filename.h>
#include <wx/log.h>
#include <wx/mstream.h>
#include <wx/tokenzr.h>
#include <wx/wfstream.h>

namespace movra {
namespace {

constexpr const char* kSettingsFileName = "movra.ini";

// Largest size or position taken from the file; anything beyond is damage.
constexpr long kMaxPixels = 100000;

// A number from the file, or none when the entry is missing or out of range.
std::optional<long> ReadNumber(const wxFileConfig& config, const wxString& key, long low, long high) {
  wxString text;
  long value = 0;
  if (!config.Read(key, &text) || !text.ToLong(&value) || value < low || value > high) return std::nullopt;
  return value;
}

// Widths separated by commas, each between 20 and kMaxPixels; empty when any is unusable.
std::vector<int> ReadWidths(const wxFileConfig& config, const wxString& key) {
  wxString text;
  std::vector<int> widths;
  if (!config.Read(key, &text)) return widths;
  for (const wxString& part : wxSplit(text, ',', '\0')) {
    long value = 0;
    if (!part.ToLong(&value) || value < 20 || value > kMaxPixels) return {};
    widths.push_back(static_cast<int>(value));
  }
  return widths;
}

wxString JoinWidths(const std::vector<int>& widths) {
  wxString text;
  for (int width : widths) text << (text.empty() ? "" : ",") << width;
  return text;
}

}  // namespace

std::string SettingsFileFor(SettingsPlace place, const DataHome& home, const std::string& user_config_folder) {
  if (place == SettingsPlace::kUserConfigFolder && !user_config_folder.empty()) {
    return FsPathOf(NativeOfFsPath(user_config_folder) / "movra" / kSettingsFileName);
  }
  return FsPathOf(home.folder / kSettingsFileName);
}

std::string DefaultSettingsFile(const DataHome& home) {
  const SettingsLocation location = SystemSettingsLocation();
  return SettingsFileFor(location.place, home, location.user_config_folder);
}

WindowSettings LoadWindowSettings(const std::string& file) {
  WindowSettings settings;
  const wxString path = wxString::FromUTF8(file);
  if (file.empty() || !wxFileName::FileExists(path)) return settings;
  // The configuration reader reports damaged lines as errors; a damaged file
  // only means defaults, so nothing is shown.
  wxLogNull quiet;
  wxFileInputStream stream(path);
  if (!stream.IsOk()) return settings;
  const wxFileConfig config(stream);
  const auto x = ReadNumber(config, "/Window/X", -kMaxPixels, kMaxPixels);
  const auto y = ReadNumber(config, "/Window/Y", -kMaxPixels, kMaxPixels);
  const auto w = ReadNumber(config, "/Window/Width", 200, kMaxPixels);
  const auto h = ReadNumber(config, "/Window/Height", 150, kMaxPixels);
  if (x && y && w && h) settings.frame = wxRect(*x, *y, *w, *h);
  settings.maximized = ReadNumber(config, "/Window/Maximized", 0, 1).value_or(0) == 1;
  settings.left_pane = static_cast<int>(ReadNumber(config, "/Window/LeftPane", 100, kMaxPixels).value_or(233));
  settings.results_height =
      static_cast<int>(ReadNumber(config, "/Window/ResultsHeight", 23, kMaxPixels).value_or(100));
  settings.content_columns = ReadWidths(config, "/Lists/ContentColumns");
  settings.results_columns = ReadWidths(config, "/Lists/ResultsColumns");
  if (const auto style = ReadNumber(config, "/Lists/ViewStyle", 0, 3)) settings.view_style = static_cast<ListViewStyle>(*style);
  settings.active_tab = static_cast<int>(ReadNumber(config, "/Window/ActiveTab", 0, 1).value_or(0));
  wxString exclusions;
  if (config.Read("/Scan/Exclude", &exclusions)) settings.scan_exclusions = exclusions.utf8_string();
  return settings;
}

bool SaveWindowSettings(const std::string& file, const WindowSettings& settings) {
  if (file.empty()) return false;
  const wxFileName name(wxString::FromUTF8(file));
  if (!name.DirExists() && !wxFileName::Mkdir(name.GetPath(), 0700, wxPATH_MKDIR_FULL)) return false;
  wxLogNull quiet;
  // Written from scratch, through a temporary file that replaces the old one.
  wxMemoryInputStream nothing(nullptr, 0);
  wxFileConfig config(nothing);
  if (settings.frame) {
    config.Write("/Window/X", settings.frame->x);
    config.Write("/Window/Y", settings.frame->y);
    config.Write("/Window/Width", settings.frame->width);
    config.Write("/Window/Height", settings.frame->height);
  }
  config.Write("/Window/Maximized", settings.maximized ? 1 : 0);
  config.Write("/Window/LeftPane", settings.left_pane);
  config.Write("/Window/ResultsHeight", settings.results_height);
  config.Write("/Window/ActiveTab", settings.active_tab);
  config.Write("/Lists/ContentColumns", JoinWidths(settings.content_columns));
  config.Write("/Lists/ResultsColumns", JoinWidths(settings.results_columns));
  if (settings.view_style) config.Write("/Lists/ViewStyle", static_cast<long>(*settings.view_style));
  if (!settings.scan_exclusions.empty()) config.Write("/Scan/Exclude", wxString::FromUTF8(settings.scan_exclusions));
  wxTempFileOutputStream out(name.GetFullPath());
  return out.IsOk() && config.Save(out) && out.Commit();
}

}  // namespace movra
