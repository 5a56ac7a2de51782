// The Windows entry of the window program: the toolkit reads the wide
// command line itself, so names outside the ANSI code page reach it whole.
#include "window/platform/ProcessEntry.h"

#include <wx/app.h>

// The system's headers after the toolkit's, through its wrapper, so that their
// macros do not rename the toolkit's members.
#include <wx/msw/wrapwin.h>

namespace movra {

int RunWindowProgram(int, char**) { return wxEntry(::GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOWNORMAL); }

}  // namespace movra
