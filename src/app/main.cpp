// Process entry: the application object creates the main window.
#include <wx/app.h>

#include "app/MovraApp.h"

wxIMPLEMENT_APP(movra::MovraApp);
