// Opening a web page, a mail link or a document outside the program. The
// About box and the help menu go through one opener, so tests can watch what
// would open without launching anything; linux/ and windows/ hold each
// system's way of opening.
#pragma once

#include <wx/string.h>

class wxWindow;

namespace movra {

class LinkOpener {
 public:
  virtual ~LinkOpener() = default;
  // Asks the desktop to open url (http:, mailto:, xmpp:); false when it could not.
  virtual bool Open(const wxString& url) = 0;
  // Asks the desktop to open a local document (native path) in its default viewer; false when it could not.
  virtual bool OpenDocument(const wxString& path);
};

// The desktop's default handler for each kind of link.
class DesktopLinkOpener : public LinkOpener {
 public:
  bool Open(const wxString& url) override;
};

// The opener the program uses: the desktop's unless a test installed another.
LinkOpener& Links();

// Opens url through Links(); when no program could be started, tells the user
// the link in a message box owned by owner.
void OpenLinkOrTell(wxWindow* owner, const wxString& url);

// Replaces the opener (nullptr restores the desktop's); for tests.
void SetLinkOpener(LinkOpener* opener);

// The maker's addresses shown in the About box and opened from the help menu.
inline constexpr const char* kForumUrl = "http://forum.example.org/movra/";
// The first support mail address, as a link.
inline constexpr const char* kSupportMailUrl = "mailto:support@example.com";
// The second support mail address, also used for user feedback.
inline constexpr const char* kFeedbackMailUrl = "mailto:feedback@example.com";
// The instant-messaging contact of the support team.
inline constexpr const char* kMessengerUrl = "xmpp:movra-help@example.org";

}  // namespace movra
