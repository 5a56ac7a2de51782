#include "window/dialogs/ModalDialogs.h"

#include <wx/dialog.h>

namespace movra {
namespace {

DialogRunner& Runner() {
  static DialogRunner runner;
  return runner;
}

}  // namespace

int ShowDialogModal(wxDialog& dialog) {
  if (Runner()) return Runner()(dialog);
  return dialog.ShowModal();
}

void SetDialogRunner(DialogRunner runner) { Runner() = std::move(runner); }

}  // namespace movra
