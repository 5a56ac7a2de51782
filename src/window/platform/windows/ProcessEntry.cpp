// The Windows entry of the window program: the toolkit reads the wide
// command line itself, so names outside the ANSI code page reach it whole.
#include "window/platform/ProcessEntry.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <wx/app.h>

namespace movra {

int RunWindowProgram(int, char**) { return wxEntry(::GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOWNORMAL); }

}  // namespace movra
