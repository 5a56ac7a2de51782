#include <cstdlib>
#include <string>
#include <vector>

#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "window/dialogs/Appendcd.h"
#include "window/dialogs/DialogParts.h"
#include "workflows/DiscCataloguing.h"
#include "window/dialogs/UpdateDiscDialogs.h"
#include "platform/IsoSerial.h"
#include "platform/TextCodec.h"
#include "window/controls/WxText.h"
#include "support/EditingSupport.h"
#include "support/MainWindowFixture.h"

namespace movra {
namespace {

using test::Gbk;

// A medium (folder A holding F.TXT, and R.TXT) that is added as a disc from
// its folder or from an image of it, and then changes.
class DiscImageTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    WriteCatalogue(test::kEditingCatalogue);
    test::WriteSmallMedium(medium_);
  }
  // Adds the disc name into Music\Rock\ from what the dialog's script puts in the path field.
  void AddDisc(const std::string& name, std::function<void(TAppend&)> choose) {
    dialogs_.Then<TAppend>([=](TAppend& dialog) {
      choose(dialog);
      dialog.Edit1Exit();
      SetFieldText(*dialog.Edit2, name);
      SetFieldText(*dialog.Edit3, "2006/3/3 10:00:00");
      dialog.TreeView1->SelectItem(FindNodeByPath(*dialog.TreeView1, "Music\\Rock\\"));
      dialog.BitBtn2Click();
    });
    Form().ToolButton8Click();
    Flush();
  }
  std::string Snapshot(const std::string& name) const { return ProgramFolder() + "/CDROM/" + name + ".cdg"; }
  std::string TimeOf(const std::string& name) {
    CatalogueDocument saved;
    saved.Open(CataloguePath());
    return CatalogueDocument::ElementText(CatalogueDocument::FindChild(saved.FindDiscElement("D_" + name), "Time"));
  }

  test::TempDir medium_;
  test::ScriptedDialogs dialogs_;
  test::TrayRecorder tray_;
  test::AnsweringFilePicker files_;
};

TEST_F(DiscImageTest, AddsAnImageAsTheDiscItHoldsAndRefusesAnUnreadableOne) {
  if (std::system("command -v xorriso >/dev/null") != 0) GTEST_SKIP() << "xorriso is not installed";
  const std::string image = medium_ / "disc.ISO";
  ASSERT_EQ(std::system(("xorriso -as mkisofs -J -V '\xE5\x85\x89\xE7\x9B\x98_2006' -o '" + image +
                         "' -graft-points '/A=" + medium_.path() + "/A' '/R.TXT=" + medium_.path() +
                         "/R.TXT' >/dev/null 2>&1")
                            .c_str()),
            0);
  StartForm();
  files_.answer = image;
  std::vector<std::string> memo;
  std::string proposed;
  dialogs_.Then<TAppend>([&](TAppend& dialog) {
    dialog.Button2Click();
    proposed = dialog.DiscNameText();
    memo = dialog.MemoLines();
    dialog.TreeView1->SelectItem(FindNodeByPath(*dialog.TreeView1, "Music\\Rock\\"));
    dialog.BitBtn2Click();
  });
  Form().ToolButton8Click();
  Flush();
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_NE(files_.wildcard.find("*.iso"), std::string::npos);
  EXPECT_EQ(proposed, Gbk("光盘_2006"));
  ASSERT_EQ(memo.size(), 4u);
  EXPECT_EQ(memo[2], Gbk("光盘卷号：") + std::to_string(static_cast<std::int32_t>(*ReadIsoSerial(image))));
  // Filed as the disc in a drive E: (this machine has no optical drive); no tray opens.
  const std::string snapshot = test::ReadBytes(Snapshot("光盘_2006"));
  EXPECT_EQ(snapshot.substr(0, snapshot.find('[')), "E:\\A\\F.TXT");
  EXPECT_TRUE(tray_.opened.empty());

  test::WriteBytes(medium_ / "noise.iso", std::string(100000, 'x'));
  AddDisc("Noise", [&](TAppend& dialog) { SetFieldText(*dialog.Edit1, medium_ / "noise.iso"); });
  EXPECT_EQ(MessagesShown(), std::vector<std::string>{Utf8ToGbk(kUnreadableImageMessage)});
  EXPECT_FALSE(test::PathExists(Snapshot("Noise")));
}

TEST_F(DiscImageTest, UpdateShowsTheChangesAndReplacesOnlyOnConfirmation) {
  TForm1& form = StartForm();
  AddDisc("Rock1", [&](TAppend& dialog) { SetFieldText(*dialog.Edit1, medium_.path()); });
  const std::string before = test::ReadBytes(Snapshot("Rock1"));
  const std::string added_time = TimeOf("Rock1");
  test::WriteBytes(medium_ / "A/F.TXT", "abcde");
  test::SetModified(medium_ / "A/F.TXT", 2006, 3, 3, 9, 7, 4);
  test::SetModified(medium_ / "A", 2006, 3, 3, 9, 7, 2);
  test::WriteBytes(medium_ / "N.TXT", "n");
  ::unlink((medium_ / "R.TXT").c_str());

  // Only a disc node offers the command.
  form.CurrentCategoryNode() = test::NodeByTexts(*form.TreeView1, {"Music", "Rock"});
  form.PopupMenu1Popup();
  EXPECT_FALSE(form.U1->IsEnabled());
  form.CurrentCategoryNode() = test::NodeByTexts(*form.TreeView1, {"Music", "Rock", "Rock1"});
  form.PopupMenu1Popup();
  EXPECT_TRUE(form.U1->IsEnabled());

  const std::string key = test::ZPathOf(medium_.path());
  for (const bool confirm : {false, true}) {
    dialogs_.Then<TUpdateSource>([&](TUpdateSource& dialog) {
      SetFieldText(*dialog.Edit1, medium_.path());
      dialog.BitBtn2Click();
    });
    dialogs_.Then<TUpdateDisc>([&](TUpdateDisc& dialog) {
      EXPECT_EQ(WxToGbk(dialog.Label1->GetLabel()), Gbk("新增 1 项，删除 1 项，更改 1 项"));
      ASSERT_EQ(dialog.ListView1->GetItemCount(), 3);
      std::vector<std::string> rows;
      for (long i = 0; i < 3; ++i)
        rows.push_back(WxToGbk(dialog.ListView1->OnGetItemText(i, 0) + " " + dialog.ListView1->OnGetItemText(i, 1)));
      EXPECT_EQ(rows, (std::vector<std::string>{"~ " + key + "A\\F.TXT", "+ " + key + "N.TXT", "- " + key + "R.TXT"}));
      EXPECT_EQ(WxToGbk(dialog.ListView1->OnGetItemText(0, 2)), "1 KB");
      confirm ? dialog.BitBtn2Click() : dialog.BitBtn1Click();
    });
    form.U1Click();
    Flush();
    EXPECT_TRUE(dialogs_.Done());
    EXPECT_TRUE(MessagesShown().empty());
    if (!confirm) {
      EXPECT_EQ(test::ReadBytes(Snapshot("Rock1")), before);
      EXPECT_EQ(TimeOf("Rock1"), added_time);
    }
  }
  const std::string after = test::ReadBytes(Snapshot("Rock1"));
  EXPECT_NE(after.find(key + "N.TXT[1]"), std::string::npos);
  EXPECT_EQ(after.find("R.TXT"), std::string::npos);
  EXPECT_NE(TimeOf("Rock1"), added_time);
}

}  // namespace
}  // namespace movra
