// The application object: creates the main window and the hidden About box.
#pragma once

#include <wx/app.h>

namespace movra {

class MovraApp : public wxApp {
 public:
  bool OnInit() override;
  // Shows an exception that escaped an event handler; the loop goes on.
  bool OnExceptionInMainLoop() override;
  void OnUnhandledException() override;
};

}  // namespace movra
