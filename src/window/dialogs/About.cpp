#include "window/dialogs/About.h"

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/dcmemory.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
// After wx/stattext.h: it hides the port's static text when included first.
#include <wx/generic/stattextg.h>

#include "window/platform/LinkOpener.h"
#include "window/dialogs/UiText.h"

namespace movra {

namespace {

constexpr int kClientWidth = 492;
constexpr int kClientHeight = 283;
constexpr int kLeftWidth = 112;
constexpr int kTopHeight = 64;

struct LinkSpec {
  const char* text;
  const char* url;
};

constexpr LinkSpec kLinks[TForm6::kLinkCount] = {
    {"http://forum.example.org/movra/", kForumUrl},
    {"support@example.com", kSupportMailUrl},
    {"feedback@example.com", kFeedbackMailUrl},
    {"XMPP: movra-help@example.org", kMessengerUrl},
};

// The left picture: a disc on a dark blue band.
wxBitmap DrawLeftPicture() {
  wxBitmap bitmap(kLeftWidth, kClientHeight);
  wxMemoryDC dc(bitmap);
  dc.GradientFillLinear(wxRect(0, 0, kLeftWidth, kClientHeight), wxColour(16, 40, 96),
                        wxColour(72, 120, 200), wxSOUTH);
  const wxPoint centre(kLeftWidth / 2, kClientHeight / 2 + 20);
  dc.SetPen(wxPen(wxColour(90, 90, 110)));
  dc.SetBrush(wxBrush(wxColour(214, 218, 228)));
  dc.DrawCircle(centre, 44);
  dc.SetBrush(wxBrush(wxColour(176, 196, 230)));
  dc.DrawCircle(centre, 30);
  dc.SetBrush(wxBrush(wxColour(240, 240, 246)));
  dc.DrawCircle(centre, 14);
  dc.SetBrush(wxBrush(wxColour(48, 80, 150)));
  dc.DrawCircle(centre, 6);
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

// The top picture: the program's name on a light banner.
wxBitmap DrawTopPicture() {
  const int width = kClientWidth - kLeftWidth;
  wxBitmap bitmap(width, kTopHeight);
  wxMemoryDC dc(bitmap);
  dc.GradientFillLinear(wxRect(0, 0, width, kTopHeight), wxColour(72, 120, 200),
                        wxColour(236, 242, 252), wxEAST);
  wxFont font(wxFontInfo(26).Bold().Family(wxFONTFAMILY_SWISS));
  dc.SetFont(font);
  dc.SetTextForeground(*wxWHITE);
  dc.DrawText("Movra", 18, (kTopHeight - dc.GetTextExtent("Movra").GetHeight()) / 2);
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

}  // namespace

TForm6::TForm6(wxWindow* parent, const wxString& data_folder)
    : wxDialog(parent, wxID_ANY, "Movra...", wxDefaultPosition, wxDefaultSize, wxCAPTION) {
  SetBackgroundColour(*wxWHITE);
  SetClientSize(kClientWidth, kClientHeight);

  Image1 = new wxStaticBitmap(this, wxID_ANY, DrawLeftPicture(), wxPoint(0, 0),
                              wxSize(kLeftWidth, kClientHeight));
  Image2 = new wxStaticBitmap(this, wxID_ANY, DrawTopPicture(), wxPoint(kLeftWidth, 0),
                              wxSize(kClientWidth - kLeftWidth, kTopHeight));

  const int x = kLeftWidth + 20;
  VersionLabel = new wxStaticText(this, wxID_ANY, "version: 0.20_build0828", wxPoint(x, 76));
  NoticeLabel = new wxStaticText(
      this, wxID_ANY, Ui("Movra 开发组出品，本软件可免费使用和自由传播。"), wxPoint(x, 100));
  SupportLabel = new wxStaticText(this, wxID_ANY, Ui("技术支持："), wxPoint(x, 130));
  ForumLabel = new wxStaticText(this, wxID_ANY, Ui("论坛："), wxPoint(x + 16, 154));

  const int link_x = x + 64;
  for (int i = 0; i < kLinkCount; ++i) {
    auto* link = new wxGenericStaticText(this, wxID_ANY, kLinks[i].text,
                                         wxPoint(link_x, 154 + 22 * i));
    link->SetCursor(wxCursor(wxCURSOR_HAND));
    link->SetBackgroundColour(*wxWHITE);
    link->Bind(wxEVT_MOTION, [this, i](wxMouseEvent& event) {
      LinkMouseMove(i);
      event.Skip();
    });
    link->Bind(wxEVT_LEFT_UP, [this, i](wxMouseEvent& event) {
      LinkClick(i);
      event.Skip();
    });
    links_[i] = link;
    SetLinkLook(link, false);
  }
  // Where the catalogue lives, so users find it for backups; a long path is
  // shortened in the middle and shown whole as the tip.
  const int home_width = kClientWidth - 96 - 8 - x;
  HomeLabel = new wxStaticText(this, wxID_ANY, Ui("数据文件夹：") + data_folder,
                               wxPoint(x, kClientHeight - 33), wxSize(home_width, -1),
                               wxST_ELLIPSIZE_MIDDLE | wxST_NO_AUTORESIZE);
  HomeLabel->SetToolTip(data_folder);
  HomeLabel->Show(!data_folder.empty());

  Bind(wxEVT_MOTION, [this](wxMouseEvent& event) {
    FormMouseMove();
    event.Skip();
  });

  BitBtn1 = new wxButton(this, wxID_OK, Ui("确定"), wxPoint(kClientWidth - 96, kClientHeight - 38),
                         wxSize(80, 28));
  BitBtn1->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { BitBtn1Click(); });
  BitBtn1->SetDefault();
  SetEscapeId(wxID_OK);
  SetClientSize(kClientWidth, kClientHeight);
  CentreOnParent();
}

wxString TForm6::LinkUrl(int i) const { return kLinks[i].url; }

void TForm6::SetLinkLook(wxGenericStaticText* link, bool hot) {
  if (link->GetFont().GetUnderlined() == hot && link->GetForegroundColour() == (hot ? *wxBLUE : *wxBLACK))
    return;  // already so: no repaint for every pointer move
  wxFont font = GetFont();
  font.SetUnderlined(hot);
  link->SetFont(font);
  link->SetForegroundColour(hot ? *wxBLUE : *wxBLACK);
  link->Refresh();
}

void TForm6::LinkMouseMove(int i) { SetLinkLook(links_[i], true); }

void TForm6::FormMouseMove() {
  for (auto* link : links_) SetLinkLook(link, false);
}

void TForm6::LinkClick(int i) { OpenLinkOrTell(this, LinkUrl(i)); }

void TForm6::BitBtn1Click() { EndDialog(wxID_OK); }

}  // namespace movra
