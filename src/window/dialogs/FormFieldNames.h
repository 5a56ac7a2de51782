// The dialogs' fields edt1, edt2 and edt3 keep the names of the form
// resources, which the Windows dialog headers (dlgs.h, brought in with
// windows.h by the toolkit's event loop) also define as macros. The header
// that brings them comes first here, so the names are freed for good.
#pragma once

#include <wx/evtloop.h>

#undef edt1
#undef edt2
#undef edt3
