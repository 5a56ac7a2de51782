// The main window's key preview: it sees every key before the focused
// control. A key of the table runs the menu item or tool button of its
// command, so that each command has a single path and obeys that control's
// enabled state.
//
// The toolkit offers a key to the window (here), then to the focused
// control, and only then to the menu accelerators. Keys the handler consumes
// therefore never reach an accelerator: Ctrl+A, Ctrl+F and Ctrl+V run once.
// Keys it passes on (Ctrl+C, Del) are left to the accelerators of their
// items, which fire only while the item is enabled.
#include "window/app/TForm1.h"

#include <wx/textctrl.h>

namespace movra {
namespace {

bool IsLeft(int key) { return key == WXK_LEFT || key == WXK_NUMPAD_LEFT; }
bool IsRight(int key) { return key == WXK_RIGHT || key == WXK_NUMPAD_RIGHT; }

// True while a text field has the focus (a tree node being renamed): it
// needs its editing keys (Ctrl+V pastes there, Ctrl+A selects its text).
bool TextFieldFocused() {
  wxWindow* focus = wxWindow::FindFocus();
  return focus != nullptr && dynamic_cast<wxTextEntry*>(focus) != nullptr;
}

// True while window or a control inside it (a list's own main window) has the focus.
bool FocusWithin(const wxWindow* window) {
  for (const wxWindow* focus = wxWindow::FindFocus(); focus != nullptr; focus = focus->GetParent()) {
    if (focus == window) return true;
  }
  return false;
}

}  // namespace

void TForm1::RunMenuItem(wxMenuItem* item) {
  // Sends the item's command as a click would; nothing while it is disabled.
  ProcessCommand(item);
}

void TForm1::RunTool(wxToolBarToolBase* tool) {
  if (!ToolBar1->GetToolEnabled(tool->GetId())) return;
  wxCommandEvent event(wxEVT_TOOL, tool->GetId());
  event.SetEventObject(ToolBar1);
  ToolBar1->ProcessWindowEvent(event);
}

void TForm1::FormKeyDown(wxKeyEvent& event) {
  if (TextFieldFocused()) {
    event.Skip();
    return;
  }
  const int key = event.GetKeyCode();
  // Each modifier is only tested for being held: Ctrl+Shift+F searches too.
  if (event.AltDown() && IsLeft(key)) {
    RunTool(ToolButton1);
    return;
  }
  if (event.AltDown() && IsRight(key)) {
    RunTool(ToolButton13);
    return;
  }
  if (event.ControlDown()) {
    switch (key) {
      case 'A': RunMenuItem(N46); return;
      case 'F': RunMenuItem(N50); return;
      case 'V': RunMenuItem(N37); return;
      case WXK_RETURN:
      case WXK_NUMPAD_ENTER:
        // Ctrl+Enter on a result opens its real file; plain Enter goes to its place.
        // (A pop-up menu's item has no window to send its command to until the menu is shown.)
        if (FocusWithin(ListView2)) {
          O3Click();
          return;
        }
        break;
      default: break;
    }
  }
  // Help and Refresh leave the key to the focused control as well.
  if (key == WXK_F1) RunMenuItem(N3);
  else if (key == WXK_F5) RunMenuItem(N57);
  event.Skip();
}

}  // namespace movra
