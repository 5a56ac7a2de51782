// The Windows side of the opener: the shell's "open" verb, which starts the
// program associated with a document, a folder or a link's scheme.
#include "window/platform/LinkOpener.h"

// The system's headers after the toolkit's, through its wrapper, so that their
// macros do not rename the toolkit's members.
#include <wx/msw/wrapwin.h>
#include <shellapi.h>

namespace movra {
namespace {

// Opens target (a native path or a URL) through the shell; false when nothing was started.
bool ShellOpen(const wxString& target) {
  if (target.empty()) return false;
  // ShellExecuteW answers a value above 32 on success.
  const HINSTANCE result = ::ShellExecuteW(nullptr, L"open", target.wc_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace

bool LinkOpener::OpenDocument(const wxString& path) {
  // Native paths may carry forward slashes, which the shell does not take for every verb.
  wxString backslashed = path;
  backslashed.Replace("/", "\\");
  return ShellOpen(backslashed);
}

bool DesktopLinkOpener::Open(const wxString& url) { return ShellOpen(url); }

}  // namespace movra
