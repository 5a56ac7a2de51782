// The Help menu: the user guide, the forum page, the feedback mail link and
// the About box. Everything opens through the link opener; when the desktop
// has no viewer for it, the user is told where the guide or the link is.
#include "platform/HelpFile.h"
#include "platform/DataHome.h"
#include "window/app/TForm1.h"
#include "window/dialogs/About.h"
#include "window/platform/LinkOpener.h"
#include "window/dialogs/ModalDialogs.h"
#include "platform/FileSystem.h"
#include "window/dialogs/MessageBox.h"
#include "platform/TextCodec.h"
#include "window/controls/WxText.h"

#include <wx/log.h>

namespace movra {

void TForm1::N3Click() {
  const std::string document = HelpDocumentPath(program_folder_);
  const wxString path = wxString::FromUTF8(document);
  bool opened = false;
  {
    wxLogNull quiet;
    opened = Links().OpenDocument(path);
  }
  if (!opened) ShowInfoBox(this, Utf8ToGbk("没有找到可以打开帮助的程序，帮助文件在：\n") + WxToGbk(path));
}

void TForm1::N18Click() { OpenLinkOrTell(this, kForumUrl); }

void TForm1::N60Click() { OpenLinkOrTell(this, kFeedbackMailUrl); }

void TForm1::N40Click() {
  TForm6 box(this, wxString::FromUTF8(FsPathOf(home_folder_)));
  ShowDialogModal(box);
}

}  // namespace movra
