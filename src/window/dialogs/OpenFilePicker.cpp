#include "window/dialogs/OpenFilePicker.h"

#include <wx/filedlg.h>
#include <wx/filefn.h>

#include "workflows/SnapshotTransfer.h"
#include "window/controls/WxText.h"

namespace movra {
namespace {

OpenFilePicker* g_picker = nullptr;

}  // namespace

std::optional<std::string> DesktopOpenFilePicker::ChooseFile(wxWindow* parent, std::string_view wildcard) {
  // The desktop's file chooser matches patterns case by case; Windows does not.
  wxFileDialog dialog(parent, wxString::FromUTF8("打开"), wxGetCwd(), wxEmptyString,
                      GbkToWx(CaseBlindWildcard(wildcard)), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return std::string(dialog.GetPath().utf8_str());
}

std::optional<std::pair<std::string, int>> OpenFilePicker::ChooseSaveFile(wxWindow*, std::string_view,
                                                                          std::string_view) {
  return std::nullopt;
}

std::optional<std::pair<std::string, int>> DesktopOpenFilePicker::ChooseSaveFile(wxWindow* parent,
                                                                                 std::string_view wildcard,
                                                                                 std::string_view name) {
  wxFileDialog dialog(parent, wxString::FromUTF8("导出列表"), wxGetCwd(), GbkToWx(name), GbkToWx(wildcard),
                      wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return std::pair{std::string(dialog.GetPath().utf8_str()), dialog.GetFilterIndex()};
}

OpenFilePicker& OpenFiles() {
  static DesktopOpenFilePicker desktop;
  return g_picker ? *g_picker : desktop;
}

void SetOpenFilePicker(OpenFilePicker* picker) { g_picker = picker; }

}  // namespace movra
