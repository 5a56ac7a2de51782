#include <gtest/gtest.h>
#include <wx/frame.h>

TEST(WindowSmoke, AFrameOpensUnderTheVirtualDisplay) {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "Movra");
  frame->Show();
  EXPECT_TRUE(frame->IsShown());
  frame->Destroy();
}
