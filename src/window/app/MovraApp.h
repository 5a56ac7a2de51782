// The application object: creates the main window and the hidden About box,
// and shows exceptions that escape event handlers.
#pragma once

#include <wx/app.h>

namespace movra {

class MovraApp : public wxApp {
 public:
  // Creates and shows the main window.
  bool OnInit() override;
  // Shows an exception that escaped an event handler; the loop goes on.
  bool OnExceptionInMainLoop() override;
  // Shows an exception that escaped start-up or the loop; the process then ends with status 0.
  void OnUnhandledException() override;
  // Status 0 whatever ended the loop.
  int OnExit() override;
};

}  // namespace movra
