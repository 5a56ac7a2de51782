// Fixed captions of the dialogs are written in the sources as UTF-8; this
// turns one into the widgets' string type.
#pragma once

#include <wx/string.h>

namespace movra {

// A UTF-8 literal as a wxString.
inline wxString Ui(const char* utf8) { return wxString::FromUTF8(utf8); }

}  // namespace movra
