// The Windows side of the program's icons: the icon group that
// resources/windows/movra.rc links into the executable.
#include "window/platform/ProgramIcons.h"

#include <wx/log.h>

namespace movra {

wxIconBundle ProgramIcons(const std::string&) {
  wxLogNull quiet;  // an executable without the resource (a test program) has no icon of its own
  return wxIconBundle("MOVRA", nullptr);
}

}  // namespace movra
