// The Linux side of the opener: the desktop's default application and browser.
#include "window/platform/LinkOpener.h"

#include <wx/utils.h>

namespace movra {

bool LinkOpener::OpenDocument(const wxString& path) { return wxLaunchDefaultApplication(path); }

bool DesktopLinkOpener::Open(const wxString& url) { return wxLaunchDefaultBrowser(url); }

}  // namespace movra
