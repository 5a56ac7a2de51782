// The status bar's three panels: their texts and widths. The first panel
// takes what the window leaves; the other two are at least their usual width
// and grow to show their whole text.
#include <algorithm>

#include "window/app/TForm1.h"

namespace movra {
namespace {

// Usual widths of panels 2 and 3; panel 1 takes the rest of the window.
constexpr int kPanelWidths[3] = {-1, 100, 150};
// Room around a panel's text for the panel's border and margins.
constexpr int kPanelPadding = 24;

}  // namespace

void TForm1::CreateStatusBar1() {
  StatusBar1 = CreateStatusBar(3);
  // Tool and menu hints show as tooltips; the panels keep the program's texts.
  SetStatusBarPane(-1);
  StatusBar1->SetStatusWidths(3, kPanelWidths);
}

void TForm1::SetStatusPanel(int panel, const wxString& text) {
  if (panel < 0 || panel > 2) return;
  StatusBar1->SetStatusText(text, panel);
  int widths[3] = {kPanelWidths[0], kPanelWidths[1], kPanelWidths[2]};
  for (int i = 1; i < 3; ++i) {
    const wxString shown = StatusBar1->GetStatusText(i);
    // The last panel also holds the window's size grip, as wide as the bar is high.
    const int padding = kPanelPadding + (i == 2 ? StatusBar1->GetSize().y : 0);
    if (!shown.empty()) widths[i] = std::max(widths[i], StatusBar1->GetTextExtent(shown).x + padding);
  }
  StatusBar1->SetStatusWidths(3, widths);
}

}  // namespace movra
