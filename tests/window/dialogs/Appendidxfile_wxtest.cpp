#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "window/controls/CategoryTrees.h"
#include "window/dialogs/Appendidxfile.h"
#include "window/dialogs/DialogTestSupport.h"
#include "platform/DateTime.h"
#include "window/controls/WxText.h"

namespace movra {
namespace {

using test::ChildByText;

class ImportDialogTest : public ::testing::Test {
 protected:
  ImportDialogTest() { dialog_ = new TAppIdxFile(nullptr, catalogue_.doc()); }
  ~ImportDialogTest() override {
    dialog_->Destroy();
    test::Pump();
  }

  test::SampleCatalogue catalogue_;
  TAppIdxFile* dialog_ = nullptr;
};

TEST_F(ImportDialogTest, OpensWithItsCaptionsAndOnlyTheDateAndMemoEditable) {
  EXPECT_EQ(dialog_->GetTitle(), wxString::FromUTF8("导入光盘快照"));
  EXPECT_FALSE(dialog_->HasFlag(wxCLOSE_BOX));
  EXPECT_FALSE(dialog_->HasFlag(wxSYSTEM_MENU));
  EXPECT_EQ(dialog_->GroupBox1->GetLabel(), wxString::FromUTF8("光盘说明"));
  EXPECT_EQ(dialog_->btn2->GetLabel(), wxString::FromUTF8("开始"));
  EXPECT_EQ(dialog_->btn1->GetLabel(), wxString::FromUTF8("取消"));
  EXPECT_EQ(dialog_->Label1->GetLabel(),
            wxString::FromUTF8("注：名称应该由汉字 英文字母 数字 小数点 下划线和减号组成．"));
  EXPECT_FALSE(dialog_->edt1->IsEnabled());
  EXPECT_FALSE(dialog_->edt1->IsEditable());
  EXPECT_FALSE(dialog_->edt3->IsEnabled());
  EXPECT_FALSE(dialog_->edt3->IsEditable());
  EXPECT_TRUE(dialog_->edt2->IsEditable());
  EXPECT_TRUE(dialog_->RichEdit1->IsMultiLine());
  EXPECT_TRUE(dialog_->RichEdit1->IsEmpty());
  EXPECT_FALSE(dialog_->Accepted());
  // Categories only, expanded.
  wxTreeCtrl& tree = *dialog_->tv1;
  EXPECT_EQ(test::ChildTexts(tree, tree.GetRootItem()), (std::vector<std::string>{"Music", test::kFilm}));
  EXPECT_TRUE(tree.IsExpanded(ChildByText(tree, tree.GetRootItem(), "Music")));
}

TEST_F(ImportDialogTest, PresetFillsNameDateAndAMemoWithoutSerial) {
  dialog_->Preset("DVD_01", EncodeDateTime({2006, 3, 3, 9, 7, 2}));
  EXPECT_EQ(dialog_->DiscNameText(), "DVD_01");
  EXPECT_EQ(dialog_->DiscName(), "DVD_01");
  EXPECT_EQ(dialog_->DateText(), "2006/3/3 9:07:02");
  const std::vector<std::string> memo = dialog_->MemoLines();
  ASSERT_EQ(memo.size(), 4u);
  EXPECT_EQ(memo[2], "\xB9\xE2\xC5\xCC\xBE\xED\xBA\xC5\xA3\xBA");                // 光盘卷号：
  EXPECT_EQ(memo[3], "\xB9\xE2\xC5\xCC\xBE\xED\xB1\xEA\xA3\xBA" "DVD_01");       // 光盘卷标：DVD_01
  EXPECT_EQ(dialog_->Memo().substr(dialog_->Memo().size() - 10), "DVD_01nbsp");

  // A stem the name rules refuse shows as it is; the filtered name differs.
  dialog_->SetDiscNameText("My Disc");
  EXPECT_EQ(dialog_->DiscNameText(), "My Disc");
  EXPECT_EQ(dialog_->DiscName(), "MyDisc");
}

TEST_F(ImportDialogTest, ChoosingANodeWritesItsCategoryPathAndStartAccepts) {
  wxTreeCtrl& tree = *dialog_->tv1;
  const wxTreeItemId film = ChildByText(tree, tree.GetRootItem(), test::kFilm);
  tree.SelectItem(ChildByText(tree, film, test::kMovie));
  EXPECT_EQ(dialog_->CategoryPath(), test::kFilm + "\\" + test::kMovie + "\\");

  dialog_->Show();
  dialog_->btn1Click();
  EXPECT_FALSE(dialog_->IsShown());
  EXPECT_FALSE(dialog_->Accepted());
  dialog_->Show();
  dialog_->btn2Click();
  EXPECT_FALSE(dialog_->IsShown());
  EXPECT_TRUE(dialog_->Accepted());
  dialog_->ClearAccepted();
  EXPECT_FALSE(dialog_->Accepted());
  EXPECT_EQ(dialog_->CategoryPath(), test::kFilm + "\\" + test::kMovie + "\\");
}

}  // namespace
}  // namespace movra
