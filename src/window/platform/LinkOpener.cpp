#include "window/platform/LinkOpener.h"

#include <wx/log.h>

#include "window/dialogs/MessageBox.h"
#include "platform/TextCodec.h"
#include "window/controls/WxText.h"

namespace movra {

namespace {
LinkOpener* g_opener = nullptr;
}  // namespace

LinkOpener& Links() {
  static DesktopLinkOpener desktop;
  return g_opener ? *g_opener : desktop;
}

void SetLinkOpener(LinkOpener* opener) { g_opener = opener; }

void OpenLinkOrTell(wxWindow* owner, const wxString& url) {
  bool opened = false;
  {
    wxLogNull quiet;  // the failure is told in the program's own box
    opened = Links().Open(url);
  }
  if (!opened) ShowInfoBox(owner, Utf8ToGbk("无法打开链接，请手动访问：\n") + WxToGbk(url));
}

}  // namespace movra
