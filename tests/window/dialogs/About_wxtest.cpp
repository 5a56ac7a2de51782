#include <gtest/gtest.h>

#include <vector>

#include <wx/button.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/generic/stattextg.h>

#include "window/dialogs/About.h"
#include "window/platform/LinkOpener.h"

namespace movra {
namespace {

class RecordingOpener : public LinkOpener {
 public:
  bool Open(const wxString& url) override {
    opened.push_back(url);
    return true;
  }
  std::vector<wxString> opened;
};

class AboutBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetLinkOpener(&opener_);
    box_ = new TForm6(nullptr);
    box_->Show();
  }
  void TearDown() override {
    box_->Destroy();
    SetLinkOpener(nullptr);
  }
  // Sends a pointer event of type to window, as the toolkit would.
  static void Send(wxWindow* window, wxEventType type) {
    wxMouseEvent event(type);
    event.SetEventObject(window);
    event.SetId(window->GetId());
    window->GetEventHandler()->ProcessEvent(event);
  }
  static bool IsHot(wxGenericStaticText* link) {
    return link->GetForegroundColour() == *wxBLUE && link->GetFont().GetUnderlined();
  }
  static bool IsPlain(wxGenericStaticText* link) {
    return link->GetForegroundColour() == *wxBLACK && !link->GetFont().GetUnderlined();
  }

  RecordingOpener opener_;
  TForm6* box_ = nullptr;
};

TEST_F(AboutBoxTest, ShowsItsTextsInAFixedBoxWithoutTitleBarButtons) {
  EXPECT_EQ(box_->GetTitle(), "Movra...");
  EXPECT_EQ(box_->GetClientSize(), wxSize(492, 283));
  EXPECT_FALSE(box_->HasFlag(wxCLOSE_BOX));
  EXPECT_FALSE(box_->HasFlag(wxSYSTEM_MENU));
  EXPECT_FALSE(box_->HasFlag(wxRESIZE_BORDER));
  EXPECT_EQ(box_->VersionLabel->GetLabel(), "version: 0.20_build0828");
  EXPECT_EQ(box_->SupportLabel->GetLabel(), wxString::FromUTF8("技术支持："));
  EXPECT_EQ(box_->BitBtn1->GetLabel(), wxString::FromUTF8("确定"));
  EXPECT_TRUE(box_->Image1->GetBitmap().IsOk());
  EXPECT_TRUE(box_->Image2->GetBitmap().IsOk());
  // The pictures lie inside the box, on the left and at the top.
  EXPECT_EQ(box_->Image1->GetPosition(), wxPoint(0, 0));
  EXPECT_EQ(box_->Image2->GetPosition().y, 0);
  for (int i = 0; i < TForm6::kLinkCount; ++i) {
    EXPECT_TRUE(IsPlain(box_->Link(i))) << i;
    EXPECT_TRUE(box_->Link(i)->GetCursor().IsOk()) << i;  // the hand, set for links only
    wxRect inside(box_->GetClientSize());
    EXPECT_TRUE(inside.Contains(box_->Link(i)->GetRect())) << i;
  }
}

TEST_F(AboutBoxTest, PointerOverALinkHighlightsItAndTheBackgroundResetsAll) {
  Send(box_->Link(1), wxEVT_MOTION);
  EXPECT_TRUE(IsHot(box_->Link(1)));
  EXPECT_TRUE(IsPlain(box_->Link(0)));
  // Moving to another link lights it too; only the background clears them.
  Send(box_->Link(3), wxEVT_MOTION);
  EXPECT_TRUE(IsHot(box_->Link(1)));
  EXPECT_TRUE(IsHot(box_->Link(3)));
  Send(box_, wxEVT_MOTION);
  for (int i = 0; i < TForm6::kLinkCount; ++i) EXPECT_TRUE(IsPlain(box_->Link(i))) << i;
  EXPECT_TRUE(opener_.opened.empty());
}

TEST_F(AboutBoxTest, ClickingEachLinkOpensItsAddressOnce) {
  for (int i = 0; i < TForm6::kLinkCount; ++i) Send(box_->Link(i), wxEVT_LEFT_UP);
  ASSERT_EQ(opener_.opened.size(), 4u);
  EXPECT_TRUE(opener_.opened[0].StartsWith("http://"));
  EXPECT_EQ(opener_.opened[0], kForumUrl);
  EXPECT_TRUE(opener_.opened[1].StartsWith("mailto:"));
  EXPECT_TRUE(opener_.opened[2].StartsWith("mailto:"));
  EXPECT_NE(opener_.opened[1], opener_.opened[2]);
  EXPECT_EQ(opener_.opened[3], kMessengerUrl);
}

TEST_F(AboutBoxTest, OkClosesTheBox) {
  box_->BitBtn1Click();
  EXPECT_FALSE(box_->IsShown());
}

}  // namespace
}  // namespace movra
