// On Windows the toolkit's event loop header brings in windows.h, whose
// macros rename some of the program's own names: the file-system seam's
// CopyFile and DeleteFile, and the dialogs' fields edt1 to edt3 (named after
// the form resources, and dialog control ids in dlgs.h). That header comes
// first here and the macros are removed for good; the Windows build
// includes this header before anything else in each window source
// (platform/windows/files.cmake).
#pragma once

#include <wx/evtloop.h>

#undef CopyFile
#undef DeleteFile
#undef edt1
#undef edt2
#undef edt3
