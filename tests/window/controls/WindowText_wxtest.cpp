// GBK text in the widgets: conversion to and from wxString, and the message boxes.
#include <gtest/gtest.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include "window/dialogs/MessageBox.h"
#include "window/controls/WxText.h"

namespace movra {
namespace {

TEST(WxTextTest, GbkRoundTripsThroughWxString) {
  const std::string gbk = "\xB9\xE2\xC5\xCC A\\b \x81\x5C";  // 光盘, ASCII, 乗 (trail byte 0x5C)
  const wxString shown = GbkToWx(gbk);
  EXPECT_EQ(shown, wxString::FromUTF8("光盘 A\\b 乗"));
  EXPECT_EQ(WxToGbk(shown), gbk);
  EXPECT_EQ(GbkToWx(""), wxString());
  EXPECT_EQ(WxToGbk(wxString()), "");
}

TEST(WxTextTest, WhatGbkCannotHoldBecomesAQuestionMark) {
  EXPECT_EQ(WxToGbk(wxString::FromUTF8("a\xF0\x9F\x98\x80" "b")), "a?b");  // an emoji
  EXPECT_EQ(GbkToWx("a\xFF" "b"), "a?b");                                   // no GBK sequence
}

// Checks the box's text and buttons, then answers it.
class ExpectBox : public wxExpectModalBase<wxMessageDialog, ExpectBox> {
 public:
  ExpectBox(const char* utf8, long buttons, int answer) : text_(wxString::FromUTF8(utf8)), buttons_(buttons), answer_(answer) {}

 protected:
  int OnInvoked(wxMessageDialog* box) const override {
    EXPECT_EQ(box->GetMessage(), text_);
    const long style = box->GetMessageDialogStyle();
    EXPECT_TRUE(style & wxICON_INFORMATION);
    EXPECT_EQ(style & (wxOK | wxYES_NO | wxCANCEL), buttons_);
    return answer_;
  }

 private:
  wxString text_;
  long buttons_;
  int answer_;
};

TEST(MessageBoxTest, ShowsTheExactTextWithOkOrYesAndNo) {
  bool yes = true;
  wxTEST_DIALOG(yes = ShowInfoBox(nullptr, "\xB9\xE2\xC5\xCC"), ExpectBox("光盘", wxOK, wxID_OK));
  EXPECT_FALSE(yes);
  wxTEST_DIALOG(yes = ShowInfoBox(nullptr, "a\nb", BoxButtons::kYesNo), ExpectBox("a\nb", wxYES_NO, wxID_YES));
  EXPECT_TRUE(yes);
  wxTEST_DIALOG(yes = ShowInfoBox(nullptr, "q", BoxButtons::kYesNo), ExpectBox("q", wxYES_NO, wxID_NO));
  EXPECT_FALSE(yes);
}

}  // namespace
}  // namespace movra
