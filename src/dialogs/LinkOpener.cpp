#include "dialogs/LinkOpener.h"

#include <wx/utils.h>

namespace movra {

bool LinkOpener::OpenDocument(const wxString& path) { return wxLaunchDefaultApplication(path); }

bool DesktopLinkOpener::Open(const wxString& url) { return wxLaunchDefaultBrowser(url); }

namespace {
LinkOpener* g_opener = nullptr;
}  // namespace

LinkOpener& Links() {
  static DesktopLinkOpener desktop;
  return g_opener ? *g_opener : desktop;
}

void SetLinkOpener(LinkOpener* opener) { g_opener = opener; }

}  // namespace movra
