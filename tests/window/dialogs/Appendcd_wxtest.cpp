#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include <wx/button.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/testing.h>
#include <wx/textctrl.h>

#include "window/controls/CategoryTrees.h"
#include "window/dialogs/Appendcd.h"
#include "window/dialogs/FolderPicker.h"
#include "platform/DateTime.h"
#include "platform/DriveMap.h"
#include "window/controls/WxText.h"
#include "window/dialogs/DialogTestSupport.h"

namespace movra {
namespace {

using test::Pump;

const std::string kDefaultName = "\xCE\xD2\xB5\xC4\xB9\xE2\xC5\xCC_000";            // 我的光盘_000
const std::string kSerialLine = "\xB9\xE2\xC5\xCC\xBE\xED\xBA\xC5\xA3\xBA";          // 光盘卷号：
const std::string kLabelLine = "\xB9\xE2\xC5\xCC\xBE\xED\xB1\xEA\xA3\xBA";           // 光盘卷标：
const std::string kPickerCaption = "\xC7\xEB\xD1\xA1\xD4\xF1\xC9\xA8\xC3\xE8\xC2\xB7\xBE\xB6";  // 请选择扫描路径

// Answers the folder picker with a fixed folder, or cancels it.
class FixedPicker : public FolderPicker {
 public:
  std::optional<std::string> answer;
  std::string caption;
  int calls = 0;
  std::optional<std::string> ChooseFolder(wxWindow*, std::string_view gbk_caption) override {
    ++calls;
    caption = gbk_caption;
    return answer;
  }
};

// A volume with a fixed label and serial, recording the drive texts asked for.
struct FakeVolume {
  bool readable = true;
  std::string label;
  std::uint32_t serial = 0;
  std::vector<std::string> asked;
  TAppend::VolumeReader Reader() {
    return [this](std::string_view drive, std::string& out_label, std::uint32_t& out_serial) {
      asked.emplace_back(drive);
      if (!readable) return false;
      out_label = label;
      out_serial = serial;
      return true;
    };
  }
};

class AppendDialogTest : public ::testing::Test {
 protected:
  AppendDialogTest()
      : drives_({DriveEntry{'D', "/media/cdrom0", "/dev/sr0", true}}) {
    SetFolderPicker(&picker_);
    dialog_ = new TAppend(nullptr, catalogue_.doc(), drives_);
    dialog_->SetVolumeReader(volume_.Reader());
  }
  ~AppendDialogTest() override {
    dialog_->Destroy();
    SetFolderPicker(nullptr);
    Pump();
  }
  static std::string Text(wxTextCtrl* field) { return WxToGbk(field->GetValue()); }
  void TypeInto(wxTextCtrl* field, const std::string& gbk) { field->ChangeValue(GbkToWx(gbk)); }
  // Edit1 loses the focus, as when the user moves on to another field.
  void LeaveEdit1() {
    wxFocusEvent event(wxEVT_KILL_FOCUS, dialog_->Edit1->GetId());
    event.SetEventObject(dialog_->Edit1);
    dialog_->Edit1->GetEventHandler()->ProcessEvent(event);
  }

  test::SampleCatalogue catalogue_;
  DriveMap drives_;
  FixedPicker picker_;
  FakeVolume volume_;
  TAppend* dialog_ = nullptr;
};

TEST_F(AppendDialogTest, OpensWithItsCaptionsEmptyFieldsAndTheCategoriesExpanded) {
  EXPECT_EQ(dialog_->GetTitle(), wxString::FromUTF8("添加光盘"));
  EXPECT_FALSE(dialog_->HasFlag(wxCLOSE_BOX));
  EXPECT_FALSE(dialog_->HasFlag(wxSYSTEM_MENU));
  EXPECT_FALSE(dialog_->HasFlag(wxRESIZE_BORDER));
  EXPECT_EQ(dialog_->GroupBox1->GetLabel(), wxString::FromUTF8("选项"));
  EXPECT_EQ(dialog_->Button1->GetLabel(), wxString::FromUTF8("选择光驱"));
  EXPECT_EQ(dialog_->GetDefaultItem(), dialog_->Button1);
  EXPECT_EQ(dialog_->BitBtn2->GetLabel(), wxString::FromUTF8("确定"));
  EXPECT_EQ(dialog_->BitBtn1->GetLabel(), wxString::FromUTF8("取消"));
  EXPECT_EQ(dialog_->Label1->GetLabel(),
            wxString::FromUTF8("注：名称应该由汉字 英文字母 数字 小数点 下划线和减号组成．"));
  EXPECT_FALSE(dialog_->Edit4->IsEnabled());
  EXPECT_FALSE(dialog_->Edit4->IsEditable());
  EXPECT_TRUE(dialog_->RichEdit1->IsMultiLine());
  for (wxTextCtrl* field : {dialog_->Edit1, dialog_->Edit2, dialog_->Edit3, dialog_->Edit4, dialog_->RichEdit1})
    EXPECT_TRUE(field->IsEmpty());
  EXPECT_FALSE(dialog_->Accepted());

  // Categories only, in locale order (Latin first), every level expanded.
  wxTreeCtrl& tree = *dialog_->TreeView1;
  EXPECT_EQ(test::ChildTexts(tree, tree.GetRootItem()), (std::vector<std::string>{"Music", test::kFilm}));
  const wxTreeItemId music = test::ChildByText(tree, tree.GetRootItem(), "Music");
  const wxTreeItemId film = test::ChildByText(tree, tree.GetRootItem(), test::kFilm);
  EXPECT_EQ(test::ChildTexts(tree, music), (std::vector<std::string>{"Jazz", "Rock"}));
  EXPECT_EQ(test::ChildTexts(tree, film), (std::vector<std::string>{test::kMovie}));
  EXPECT_TRUE(tree.IsExpanded(music));
  EXPECT_TRUE(tree.IsExpanded(film));
  EXPECT_EQ(tree.GetItemImage(film), kCategoryImage);
}

TEST_F(AppendDialogTest, LeavingThePathProposesLabelDateAndMemoFromTheVolume) {
  volume_.label = "HOLIDAY_2006";
  volume_.serial = 0xFFFFFFFEu;
  TypeInto(dialog_->Edit1, "D:\\VIDEO");
  const DateTime before = Now();
  dialog_->Edit1Exit();

  ASSERT_EQ(volume_.asked, (std::vector<std::string>{"D:"}));
  EXPECT_EQ(Text(dialog_->Edit2), "HOLIDAY_2006");
  const std::optional<DateTime> proposed = TryTextToDateTime(Text(dialog_->Edit3));
  ASSERT_TRUE(proposed.has_value()) << Text(dialog_->Edit3);
  EXPECT_LT(std::fabs(*proposed - before) * 86400.0, 5.0);
  const std::vector<std::string> memo = dialog_->MemoLines();
  ASSERT_EQ(memo.size(), 4u);
  EXPECT_EQ(memo[2], kSerialLine + "-2");
  EXPECT_EQ(memo[3], kLabelLine + "HOLIDAY_2006");
  EXPECT_EQ(dialog_->ScanPath(), "D:\\VIDEO\\");
}

TEST_F(AppendDialogTest, AVolumeWithoutLabelOrInformationGetsTheDefaultName) {
  volume_.label = "";
  volume_.serial = 7;
  TypeInto(dialog_->Edit1, "D:\\");
  dialog_->Edit1Exit();
  EXPECT_EQ(Text(dialog_->Edit2), kDefaultName);
  EXPECT_EQ(dialog_->MemoLines()[2], kSerialLine + "7");
  EXPECT_EQ(dialog_->MemoLines()[3], kLabelLine + kDefaultName);

  // Unreadable: the same name, and the serial line carries no number.
  volume_.readable = false;
  TypeInto(dialog_->Edit1, "Q:\\");
  dialog_->Edit1Exit();
  EXPECT_EQ(Text(dialog_->Edit2), kDefaultName);
  EXPECT_EQ(dialog_->MemoLines()[2], kSerialLine);

  // A path without a drive asks about the empty drive text.
  TypeInto(dialog_->Edit1, "photos");
  dialog_->Edit1Exit();
  EXPECT_EQ(volume_.asked.back(), "");
  EXPECT_EQ(Text(dialog_->Edit2), kDefaultName);
}

TEST_F(AppendDialogTest, AnEmptyPathProposesNothing) {
  TypeInto(dialog_->Edit2, "Mine");
  dialog_->Edit1Exit();
  EXPECT_TRUE(volume_.asked.empty());
  EXPECT_EQ(Text(dialog_->Edit2), "Mine");
  EXPECT_TRUE(dialog_->Edit3->IsEmpty());
  EXPECT_TRUE(dialog_->RichEdit1->IsEmpty());
  EXPECT_EQ(dialog_->ScanPath(), "");
}

TEST_F(AppendDialogTest, ThePickersAnswerIsShownAsADrivePath) {
  volume_.label = "CD1";
  picker_.answer = "/media/cdrom0";
  dialog_->Button1Click();
  EXPECT_EQ(picker_.caption, kPickerCaption);
  EXPECT_EQ(Text(dialog_->Edit1), "D:\\");
  EXPECT_EQ(dialog_->ScanPath(), "D:\\");
  EXPECT_EQ(volume_.asked, (std::vector<std::string>{"D:"}));
  EXPECT_EQ(Text(dialog_->Edit2), "CD1");

  // Any other folder lies on Z:, the whole file system.
  picker_.answer = "/home/ann/photos";
  dialog_->Button1Click();
  EXPECT_EQ(Text(dialog_->Edit1), "Z:\\home\\ann\\photos");
  EXPECT_EQ(dialog_->ScanPath(), "Z:\\home\\ann\\photos\\");
  EXPECT_EQ(volume_.asked.back(), "Z:");
}

TEST_F(AppendDialogTest, AFolderProposesItsOwnNameAndAPathThatCannotBeRecordedStaysAsChosen) {
  volume_.readable = false;
  picker_.answer = "/home/ann/\xE5\x85\x89\xE7\x9B\x98";  // 光盘
  dialog_->Button1Click();
  EXPECT_EQ(Text(dialog_->Edit1), "Z:\\home\\ann\\\xB9\xE2\xC5\xCC");
  EXPECT_EQ(Text(dialog_->Edit2), "\xB9\xE2\xC5\xCC");

  // A name GBK cannot hold stays native in the field, whole, for the command to refuse.
  picker_.answer = "/home/ann/Ma\xC3\xB1" "ana";
  dialog_->Button1Click();
  EXPECT_EQ(dialog_->ScanPathUtf8(), "/home/ann/Ma\xC3\xB1" "ana");
}

TEST_F(AppendDialogTest, CancellingThePickerEmptiesOnlyThePath) {
  volume_.label = "CD1";
  TypeInto(dialog_->Edit1, "D:\\");
  dialog_->Edit1Exit();
  TypeInto(dialog_->Edit2, "Renamed");
  const std::string date = Text(dialog_->Edit3);
  const std::string memo = dialog_->Memo();

  picker_.answer.reset();
  dialog_->Button1Click();
  EXPECT_EQ(picker_.calls, 1);
  EXPECT_TRUE(dialog_->Edit1->IsEmpty());
  EXPECT_EQ(Text(dialog_->Edit2), "Renamed");
  EXPECT_EQ(Text(dialog_->Edit3), date);
  EXPECT_EQ(dialog_->Memo(), memo);
  EXPECT_EQ(volume_.asked.size(), 1u);
}

TEST_F(AppendDialogTest, LeavingThePathFieldRefillsOnlyWhenThePathChanged) {
  volume_.label = "FIRST";
  TypeInto(dialog_->Edit1, "D:\\");
  LeaveEdit1();
  EXPECT_EQ(Text(dialog_->Edit2), "FIRST");

  // Passing through the field keeps what the user typed since.
  TypeInto(dialog_->Edit2, "MyOwnName");
  TypeInto(dialog_->RichEdit1, "my memo");
  LeaveEdit1();
  EXPECT_EQ(Text(dialog_->Edit2), "MyOwnName");
  EXPECT_EQ(dialog_->Memo(), "my memonbsp");
  EXPECT_EQ(volume_.asked.size(), 1u);

  // Typing another path and leaving proposes anew, over the user's texts.
  volume_.label = "SECOND";
  TypeInto(dialog_->Edit1, "D:\\DATA");
  LeaveEdit1();
  EXPECT_EQ(Text(dialog_->Edit2), "SECOND");
  EXPECT_EQ(dialog_->MemoLines().size(), 4u);

  // A native path typed into the field is shown in drive form.
  TypeInto(dialog_->Edit1, "/media/cdrom0/DATA");
  LeaveEdit1();
  EXPECT_EQ(Text(dialog_->Edit1), "D:\\DATA");
  EXPECT_EQ(volume_.asked.size(), 2u);  // the same path as before: nothing proposed
}

TEST_F(AppendDialogTest, ChoosingANodeWritesItsCategoryPath) {
  wxTreeCtrl& tree = *dialog_->TreeView1;
  const wxTreeItemId film = test::ChildByText(tree, tree.GetRootItem(), test::kFilm);
  const wxTreeItemId movie = test::ChildByText(tree, film, test::kMovie);
  tree.SelectItem(movie);
  EXPECT_EQ(dialog_->CategoryPath(), test::kFilm + "\\" + test::kMovie + "\\");
  tree.SelectItem(film);
  EXPECT_EQ(dialog_->CategoryPath(), test::kFilm + "\\");

  // A click runs the same handler, also on the node already selected.
  dialog_->Show();
  const wxTreeItemId rock = test::ChildByText(tree, test::ChildByText(tree, tree.GetRootItem(), "Music"), "Rock");
  test::ClickNode(tree, rock);
  EXPECT_EQ(dialog_->CategoryPath(), "Music\\Rock\\");
}

TEST_F(AppendDialogTest, ReadsNameMemoAndAcceptanceForTheCommand) {
  TypeInto(dialog_->Edit2, "two words");
  EXPECT_EQ(dialog_->DiscNameText(), "two words");
  EXPECT_EQ(dialog_->DiscName(), "twowords");
  TypeInto(dialog_->RichEdit1, "a\nb\nc\n");
  EXPECT_EQ(dialog_->Memo(), "anbspbnbspcnbsp");
  TypeInto(dialog_->RichEdit1, "");
  EXPECT_EQ(dialog_->Memo(), "");

  dialog_->Show();
  dialog_->BitBtn1Click();
  EXPECT_FALSE(dialog_->IsShown());
  EXPECT_FALSE(dialog_->Accepted());
  dialog_->Show();
  dialog_->BitBtn2Click();
  EXPECT_FALSE(dialog_->IsShown());
  EXPECT_TRUE(dialog_->Accepted());
  dialog_->ClearAccepted();
  EXPECT_FALSE(dialog_->Accepted());
}

// Presses one of the dialog's buttons when it is shown modally.
class PressInAppend : public wxExpectModalBase<TAppend, PressInAppend> {
 public:
  explicit PressInAppend(bool ok) : ok_(ok) {}

 protected:
  int OnInvoked(TAppend* dialog) const override {
    if (ok_) {
      dialog->BitBtn2Click();
      return wxID_OK;
    }
    dialog->BitBtn1Click();
    return wxID_CANCEL;
  }

 private:
  bool ok_;
};

TEST_F(AppendDialogTest, ShownAgainAfterARefusalTheInputIsIntact) {
  TypeInto(dialog_->Edit1, "D:\\");
  TypeInto(dialog_->Edit2, "bad name");
  TypeInto(dialog_->Edit3, "2006/3/3");
  TypeInto(dialog_->RichEdit1, "kept");
  dialog_->TreeView1->SelectItem(test::ChildByText(*dialog_->TreeView1, dialog_->TreeView1->GetRootItem(), "Music"));

  wxTEST_DIALOG(dialog_->ShowModal(), PressInAppend(true));
  ASSERT_TRUE(dialog_->Accepted());
  // The command refuses the name, clears the flag and shows the dialog again.
  dialog_->ClearAccepted();
  wxTEST_DIALOG(dialog_->ShowModal(), PressInAppend(false));
  EXPECT_FALSE(dialog_->Accepted());
  EXPECT_EQ(dialog_->ScanPath(), "D:\\");
  EXPECT_EQ(dialog_->DiscNameText(), "bad name");
  EXPECT_EQ(dialog_->DateText(), "2006/3/3");
  EXPECT_EQ(dialog_->CategoryPath(), "Music\\");
  EXPECT_EQ(dialog_->Memo(), "keptnbsp");
}

}  // namespace
}  // namespace movra
