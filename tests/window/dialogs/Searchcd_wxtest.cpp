#include <gtest/gtest.h>

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/datectrl.h>
#include <wx/msgdlg.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/testing.h>

#include "window/controls/CategoryTrees.h"
#include "window/dialogs/DialogTestSupport.h"
#include "window/dialogs/Searchcd.h"
#include "window/controls/WxText.h"

namespace movra {
namespace {

using test::ChildByText;
using test::kAll;
using test::kFilm;
using test::kMovie;

class FindDialogTest : public ::testing::Test {
 protected:
  FindDialogTest() { dialog_ = new TFindFile(nullptr, catalogue_.doc()); }
  ~FindDialogTest() override {
    dialog_->Destroy();
    test::Pump();
  }
  wxTreeCtrl& tree() { return *dialog_->tv1; }
  wxTreeItemId AllNode() { return ChildByText(tree(), tree().GetRootItem(), kAll); }

  test::SampleCatalogue catalogue_;
  TFindFile* dialog_ = nullptr;
};

TEST_F(FindDialogTest, OpensEmptyWithBothOptionsOffAndStartAsDefault) {
  EXPECT_EQ(dialog_->GetTitle(), wxString::FromUTF8("查找"));
  EXPECT_EQ(dialog_->GroupBox1->GetLabel(), wxString::FromUTF8("查找选项"));
  EXPECT_EQ(dialog_->NoteLabel->GetLabel(), wxString::FromUTF8("注意：可使用通配符 * ? 详见帮助"));
  EXPECT_EQ(dialog_->CheckBox1->GetLabel(), wxString::FromUTF8("区分大小写"));
  EXPECT_EQ(dialog_->CheckBox2->GetLabel(), wxString::FromUTF8("完全匹配"));
  EXPECT_EQ(dialog_->btn1->GetLabel(), wxString::FromUTF8("取消"));
  EXPECT_EQ(dialog_->btn2->GetLabel(), wxString::FromUTF8("开始"));
  EXPECT_EQ(dialog_->GetDefaultItem(), dialog_->btn2);
  EXPECT_FALSE(dialog_->edt2->IsEnabled());
  EXPECT_FALSE(dialog_->edt2->IsEditable());
  EXPECT_EQ(dialog_->SearchText(), "");
  EXPECT_FALSE(dialog_->CaseSensitive());
  EXPECT_FALSE(dialog_->LiteralMatch());
  EXPECT_FALSE(dialog_->Started());
  EXPECT_EQ(dialog_->SelectionCount(), 0);
}

TEST_F(FindDialogTest, TheTreeShowsTheWholeCatalogueBelowAll) {
  EXPECT_EQ(test::ChildTexts(tree(), tree().GetRootItem()), (std::vector<std::string>{kAll}));
  const wxTreeItemId all = AllNode();
  EXPECT_EQ(tree().GetItemImage(all), kCategoryImage);
  EXPECT_TRUE(tree().IsExpanded(all));
  // Category mode: discs directly in CDLIST and in main categories by element
  // name, discs of sub-categories by Title (none for a disc without one).
  EXPECT_EQ(test::ChildTexts(tree(), all), (std::vector<std::string>{"Music", "Stray", kFilm}));
  const wxTreeItemId film = ChildByText(tree(), all, kFilm);
  EXPECT_EQ(test::ChildTexts(tree(), film), (std::vector<std::string>{"Loose", kMovie}));
  EXPECT_EQ(test::ChildTexts(tree(), ChildByText(tree(), film, kMovie)), (std::vector<std::string>{"Star"}));
  EXPECT_TRUE(test::ChildTexts(tree(), ChildByText(tree(), ChildByText(tree(), all, "Music"), "Jazz")).empty());
  EXPECT_EQ(tree().GetItemImage(ChildByText(tree(), all, "Stray")), kDiscImage);
}

TEST(FindDialog, AnEmptyCatalogueGivesAnEmptyTree) {
  test::SampleCatalogue empty("<?xml version=\"1.0\"?><root><CDLIST></CDLIST></root>");
  auto* dialog = new TFindFile(nullptr, empty.doc());
  EXPECT_EQ(dialog->tv1->GetChildrenCount(dialog->tv1->GetRootItem()), 0u);
  dialog->SetLocation("A\\", false);
  dialog->tv1Click();  // nothing selected: nothing happens, nothing counted
  EXPECT_EQ(dialog->LocationPath(), "A\\");
  EXPECT_EQ(dialog->SelectionCount(), 0);
  dialog->Destroy();
}

TEST_F(FindDialogTest, TheFirstSelectionOfTheRootKeepsThePresetLocation) {
  const std::string preset = kFilm + "\\" + kMovie + "\\Star\\";
  dialog_->SetLocation(preset, true);
  tree().SelectItem(AllNode());
  EXPECT_EQ(dialog_->SelectionCount(), 1);
  EXPECT_EQ(dialog_->LocationPath(), preset);
  EXPECT_TRUE(dialog_->LocationIsDisc());

  // Any later choice, the root included, moves the location.
  const wxTreeItemId music = ChildByText(tree(), AllNode(), "Music");
  tree().SelectItem(music);
  EXPECT_EQ(dialog_->LocationPath(), kAll + "\\Music\\");
  EXPECT_FALSE(dialog_->LocationIsDisc());
  tree().SelectItem(AllNode());
  EXPECT_EQ(dialog_->LocationPath(), kAll + "\\");
  EXPECT_EQ(dialog_->SelectionCount(), 3);
}

TEST_F(FindDialogTest, AFirstSelectionOfAnotherNodeMovesTheLocationAtOnce) {
  dialog_->SetLocation("Music\\", false);
  tree().SelectItem(ChildByText(tree(), AllNode(), "Stray"));
  EXPECT_EQ(dialog_->LocationPath(), kAll + "\\Stray\\");
  EXPECT_TRUE(dialog_->LocationIsDisc());
  // A disc inside a sub-category, shown by its title.
  const wxTreeItemId film = ChildByText(tree(), AllNode(), kFilm);
  tree().SelectItem(ChildByText(tree(), ChildByText(tree(), film, kMovie), "Star"));
  EXPECT_EQ(dialog_->LocationPath(), kAll + "\\" + kFilm + "\\" + kMovie + "\\Star\\");
  EXPECT_TRUE(dialog_->LocationIsDisc());
}

TEST_F(FindDialogTest, ShowingTheDialogKeepsThePresetAndAClickOnTheRootChoosesIt) {
  dialog_->SetLocation("Music\\Rock\\", false);
  dialog_->Show();
  dialog_->tv1->SetFocus();
  test::Pump();
  EXPECT_EQ(dialog_->LocationPath(), "Music\\Rock\\");

  // The user's click selects the root and then counts as a click of its own,
  // so even a first click on the root takes it.
  test::ClickNode(tree(), AllNode());
  EXPECT_EQ(dialog_->LocationPath(), kAll + "\\");
  EXPECT_FALSE(dialog_->LocationIsDisc());

  // Clicking the node that is already selected chooses it again.
  tree().SelectItem(ChildByText(tree(), AllNode(), "Stray"));
  dialog_->SetLocation("Music\\", false);
  test::ClickNode(tree(), ChildByText(tree(), AllNode(), "Stray"));
  EXPECT_EQ(dialog_->LocationPath(), kAll + "\\Stray\\");
  EXPECT_TRUE(dialog_->LocationIsDisc());
}

TEST_F(FindDialogTest, ReadsTheRequestAsTypedAndStartsOnlyWithStart) {
  dialog_->edt1->ChangeValue(" *.mp3 ");
  dialog_->CheckBox1->SetValue(true);
  dialog_->CheckBox2->SetValue(true);
  EXPECT_EQ(dialog_->SearchText(), " *.mp3 ");
  EXPECT_TRUE(dialog_->CaseSensitive());
  EXPECT_TRUE(dialog_->LiteralMatch());
  dialog_->edt1->ChangeValue(wxString::FromUTF8("光盘"));
  EXPECT_EQ(dialog_->SearchText(), "\xB9\xE2\xC5\xCC");

  dialog_->Show();
  dialog_->btn1Click();
  EXPECT_FALSE(dialog_->IsShown());
  EXPECT_FALSE(dialog_->Started());
  dialog_->Show();
  dialog_->btn2Click();
  EXPECT_FALSE(dialog_->IsShown());
  EXPECT_TRUE(dialog_->Started());
}

// Answers the one message box and keeps its text.
class NoteBox : public wxExpectModalBase<wxMessageDialog, NoteBox> {
 public:
  explicit NoteBox(wxString* text) : text_(text) {}

 protected:
  int OnInvoked(wxMessageDialog* box) const override {
    *text_ = box->GetMessage();
    return wxID_OK;
  }

 private:
  wxString* text_;
};

TEST_F(FindDialogTest, ReadsTheConditionsAndOffersThemAgain) {
  constexpr std::int64_t kM = 1 << 20;
  const DateTime day = EncodeDateTime({2006, 3, 3, 0, 0, 0});
  std::string message;
  EXPECT_EQ(dialog_->ReadConditions(message), EntryConditions{});  // nothing set: no condition
  EXPECT_EQ(dialog_->KindChoice->GetString(2), wxString::FromUTF8("只找文件夹"));

  struct Case {
    const char* min_text;
    int min_unit;  // 字节, KB, MB, GB
    const char* max_text;
    int max_unit;
    EntryConditions conditions;
  };
  const Case cases[] = {
      {"700", 2, "", 2, {700 * kM}},
      {" 1.5 ", 3, "2048", 0, {1536 * kM, 2048}},
      {"", 0, "700M", 1, {std::nullopt, 700 * kM}},  // a unit of its own wins
  };
  for (const Case& c : cases) {
    dialog_->MinSizeEdit->ChangeValue(c.min_text);
    dialog_->MinSizeUnit->SetSelection(c.min_unit);
    dialog_->MaxSizeEdit->ChangeValue(c.max_text);
    dialog_->MaxSizeUnit->SetSelection(c.max_unit);
    EXPECT_EQ(dialog_->ReadConditions(message), c.conditions) << c.min_text << c.max_text;
  }

  const EntryConditions set{1536 * kM, 3, day, day + 31, EntryKinds::kFiles};
  dialog_->SetConditions(set);
  EXPECT_EQ(dialog_->MinSizeEdit->GetValue(), "1536");
  EXPECT_EQ(dialog_->MinSizeUnit->GetSelection(), 2);
  EXPECT_EQ(dialog_->MaxSizeUnit->GetSelection(), 0);
  EXPECT_EQ(dialog_->ReadConditions(message), set);
  dialog_->SetConditions({});
  EXPECT_FALSE(dialog_->AfterPicker->GetValue().IsValid());
  EXPECT_EQ(dialog_->ReadConditions(message), EntryConditions{});
}

TEST_F(FindDialogTest, StartWithABadSizeNamesItAndKeepsTheDialogOpen) {
  dialog_->MaxSizeEdit->ChangeValue("7OOM");
  dialog_->Show();
  wxString told;
  wxTEST_DIALOG(dialog_->btn2Click(), NoteBox(&told));
  EXPECT_EQ(told, wxString::FromUTF8("无法识别的大小“7OOM”"));
  EXPECT_FALSE(dialog_->Started());
  EXPECT_TRUE(dialog_->IsShown());
  dialog_->MaxSizeEdit->ChangeValue("7");
  dialog_->KindChoice->SetSelection(1);
  dialog_->btn2Click();
  EXPECT_TRUE(dialog_->Started());
  EXPECT_EQ(dialog_->Conditions(), (EntryConditions{std::nullopt, 7 * (1 << 20), std::nullopt, std::nullopt,
                                                    EntryKinds::kFiles}));
}

}  // namespace
}  // namespace movra
