// Process entry: the application object creates the main window.
#include <wx/app.h>

#include "window/app/MovraApp.h"
#include "window/platform/ProcessEntry.h"

wxIMPLEMENT_APP_NO_MAIN(movra::MovraApp);

int main(int argc, char** argv) { return movra::RunWindowProgram(argc, argv); }
