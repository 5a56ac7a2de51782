// The program's own icon, at the sizes the system shows it (title bar, task
// list, switcher).
#pragma once

#include <string>

#include <wx/iconbndl.h>

namespace movra {

// The icons of the program: on Linux those of the installation the program
// folder (native) belongs to, none for a build tree; on Windows the icon
// resource of the executable. Empty when there are none.
wxIconBundle ProgramIcons(const std::string& program_folder);

}  // namespace movra
