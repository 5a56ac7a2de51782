// The window's remembered layout: applied once the window is built, written
// when the window closes.
#include <algorithm>

#include <wx/display.h>

#include "window/app/TForm1.h"

namespace movra {
namespace {

// The smallest window a user gets by default.
constexpr int kMinimumWidth = 740;
constexpr int kMinimumHeight = 576;

// 70 % of the screen's work area, at least the minimum size, centred on it.
wxRect DefaultFrame() {
  const wxRect area = wxDisplay(0u).GetClientArea();
  const int width = std::max(kMinimumWidth, area.width * 7 / 10);
  const int height = std::max(kMinimumHeight, area.height * 7 / 10);
  return wxRect(area.x + (area.width - width) / 2, area.y + (area.height - height) / 2, width, height);
}

// True when enough of the rectangle lies on some screen to grab its title bar.
bool OnSomeScreen(const wxRect& frame) {
  const wxPoint title(frame.x + std::min(frame.width / 2, 100), frame.y + 10);
  return wxDisplay::GetFromPoint(title) != wxNOT_FOUND;
}

}  // namespace

void TForm1::ApplySettings() {
  settings_ = LoadWindowSettings(options_.settings_file);
  // A place remembered on a screen that is gone falls back to the default.
  const wxRect frame = settings_.frame && OnSomeScreen(*settings_.frame) ? *settings_.frame : DefaultFrame();
  SetSize(frame);
  if (settings_.maximized) Maximize();
  Splitter1->SetSashPosition(settings_.left_pane);
  results_height_ = settings_.results_height;
  ListView1->SetColumnWidths(settings_.content_columns);
  for (std::size_t i = 0; i < settings_.results_columns.size() && static_cast<int>(i) < ListView2->GetColumnCount(); ++i)
    ListView2->SetColumnWidth(static_cast<int>(i), settings_.results_columns[i]);
  if (settings_.view_style) {
    // Folders come back in the user's style; while details is forced it waits for the next folder.
    content_state_.remembered_style = *settings_.view_style;
    if (!content_state_.style_remembered) {
      switch (*settings_.view_style) {
        case ListViewStyle::LargeIcons: ToolButton2Click(); break;
        case ListViewStyle::SmallIcons: ToolButton3Click(); break;
        case ListViewStyle::List: ToolButton4Click(); break;
        case ListViewStyle::Details: ToolButton5Click(); break;
      }
    }
  }
  if (settings_.active_tab == 1) PageControl1->SetSelection(1);
  Bind(wxEVT_CLOSE_WINDOW, &TForm1::FormClose, this);
}

void TForm1::SaveSettings() {
  if (options_.settings_file.empty()) return;
  settings_.maximized = IsMaximized();
  // A maximised window keeps the place it had before.
  if (!settings_.maximized && !IsIconized()) settings_.frame = GetRect();
  settings_.left_pane = Splitter1->GetSashPosition();
  settings_.results_height = ResultsPanelShown() ? ResultsPanel->GetSize().y : results_height_;
  settings_.content_columns = ListView1->ColumnWidths();
  settings_.results_columns.clear();
  for (int i = 0; i < ListView2->GetColumnCount(); ++i) settings_.results_columns.push_back(ListView2->GetColumnWidth(i));
  // Outside the forced details style the remembered style follows every style command.
  settings_.view_style = content_state_.remembered_style;
  settings_.active_tab = PageControl1->GetSelection() == 1 ? 1 : 0;
  SaveWindowSettings(options_.settings_file, settings_);
}

void TForm1::FormClose(wxCloseEvent& event) {
  SaveSettings();
  event.Skip();
}

}  // namespace movra
