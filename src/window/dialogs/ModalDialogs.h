// Showing the program's own dialogs modally. The workflows show TAppend and
// TAppIdxFile through here, so that tests can fill in the fields and press a
// button instead of entering a real modal loop.
#pragma once

#include <functional>

class wxDialog;

namespace movra {

// Stands in for ShowModal: does what the user would and returns the dialog's return code.
using DialogRunner = std::function<int(wxDialog& dialog)>;

// Shows dialog modally (or runs the installed runner); the return code.
int ShowDialogModal(wxDialog& dialog);

// Replaces how dialogs are shown; an empty runner restores ShowModal. For tests.
void SetDialogRunner(DialogRunner runner);

}  // namespace movra
