#include "app/MovraApp.h"

#include <wx/frame.h>

namespace movra {

bool MovraApp::OnInit() {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "Movra", wxPoint(202, 80), wxSize(740, 576));
  frame->Show();
  return true;
}

bool MovraApp::OnExceptionInMainLoop() { return wxApp::OnExceptionInMainLoop(); }

void MovraApp::OnUnhandledException() { wxApp::OnUnhandledException(); }

}  // namespace movra
