// The Help menu: the user guide, the forum page, the feedback mail link and
// the About box. Everything opens through the link opener; a desktop that
// cannot open a link is not reported.
#include "app/HelpFile.h"
#include "app/TForm1.h"
#include "dialogs/About.h"
#include "dialogs/LinkOpener.h"
#include "dialogs/ModalDialogs.h"
#include "platform/FileSystem.h"

namespace movra {

void TForm1::N3Click() {
  const std::string document = HelpDocumentPath(program_folder_);
  Links().OpenDocument(wxString::FromUTF8(NativePath(document)));
}

void TForm1::N18Click() { Links().Open(kForumUrl); }

void TForm1::N60Click() { Links().Open(kFeedbackMailUrl); }

void TForm1::N40Click() {
  TForm6 box(this, wxString::FromUTF8(home_folder_.string()));
  ShowDialogModal(box);
}

}  // namespace movra
