#include <string>
#include <vector>

#include <wx/textctrl.h>

#include "catalog/CategoryEdits.h"
#include "window/dialogs/Appendidxfile.h"
#include "window/dialogs/DialogParts.h"
#include "snapshot/SnapshotFile.h"
#include "support/EditingSupport.h"
#include "support/MainWindowFixture.h"

namespace movra {
namespace {

using test::TextsBelow;
using test::Gbk;

class SnapshotExchangeTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    WriteCatalogue(test::kEditingCatalogue);
    for (const std::string& disc : test::kEditingDiscs) test::WriteBytes(DataFile(disc), test::SnapshotBytesOf(disc));
    StartForm();
  }
  std::string DataFile(const std::string& name) const { return ProgramFolder() + "/CDROM/" + name + ".cdg"; }

  // Imports the file at path, accepting the dialog with category (or leaving it unchosen when empty).
  void Import(const std::string& path, const std::string& category) {
    files_.answer = path;
    dialogs_.Then<TAppIdxFile>([this, category](TAppIdxFile& dialog) {
      if (!category.empty()) dialog.tv1->SelectItem(FindNodeByPath(*dialog.tv1, category));
      dialog.btn2Click();
    });
  }
  // Then cancels the dialog shown again.
  void ThenCancel() {
    dialogs_.Then<TAppIdxFile>([](TAppIdxFile& dialog) { dialog.btn1Click(); });
  }
  // Exports the disc or category node at path (UTF-8 texts from the top) into folder.
  void Export(const std::vector<std::string>& utf8_texts, const std::optional<std::string>& folder) {
    const wxTreeItemId node = test::NodeByTexts(*Form().TreeView1, utf8_texts);
    ASSERT_TRUE(node.IsOk());
    Form().CurrentCategoryNode() = node;
    folders_.answer = folder;
    Form().R2Click();
  }

  test::TempDir outside_;
  test::ScriptedDialogs dialogs_;
  test::AnsweringFilePicker files_;
  test::AnsweringFolderPicker folders_;
};

TEST_F(SnapshotExchangeTest, ImportCopiesTheFileByteForByteAndCataloguesTheDisc) {
  const std::string bytes = test::SnapshotBytesOf("DVD_01");
  test::WriteBytes(outside_ / "DVD_01.CDG", bytes);
  files_.answer = outside_ / "DVD_01.CDG";
  dialogs_.Then<TAppIdxFile>([](TAppIdxFile& dialog) {
    EXPECT_EQ(dialog.DiscNameText(), "DVD_01");
    EXPECT_FALSE(dialog.DateText().empty());
    EXPECT_EQ(dialog.MemoLines().back(), Gbk("光盘卷标：DVD_01"));
    dialog.tv1->SelectItem(FindNodeByPath(*dialog.tv1, "Work\\"));
    dialog.btn2Click();
  });
  Form().N39Click();

  EXPECT_EQ(files_.wildcard, "CDG Files(*.CDG)|*.CDG");
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_EQ(test::ReadBytes(DataFile("DVD_01")), bytes);
  CatalogueDocument saved;
  saved.Open(CataloguePath());
  const Element disc = FindElementByNames(saved, {"T_Work", "D_DVD_01"});
  EXPECT_EQ(CatalogueDocument::ElementText(CatalogueDocument::FindChild(disc, "Title")), "DVD_01");
  EXPECT_EQ(TextsBelow(*Form().TreeView1, FindNodeByPath(*Form().TreeView1, "Work\\")),
            (std::vector<std::string>{"DVD_01"}));
  EXPECT_EQ(TextsBelow(*Form().TreeView2, Form().TreeView2->GetRootItem()).front(), "DVD_01");
  EXPECT_EQ(Form().StatusBar1->GetStatusText(0).utf8_string(), "已导入光盘 DVD_01（2 个对象）");
}

TEST_F(SnapshotExchangeTest, FilesNamedAtStartAreImportedInTurnWithoutTheFilePicker) {
  test::WriteBytes(outside_ / "DVD_01.CDG", test::SnapshotBytesOf("DVD_01"));
  test::WriteBytes(outside_ / "CD_02.cdg", test::SnapshotBytesOf("CD_02"));
  Import(outside_ / "DVD_01.CDG", "Work\\");
  Import(outside_ / "CD_02.cdg", "Work\\");
  Form().ImportSnapshotFiles({outside_ / "DVD_01.CDG", outside_ / "gone.cdg", outside_ / "CD_02.cdg"});

  EXPECT_TRUE(dialogs_.Done());
  EXPECT_TRUE(files_.wildcard.empty());
  EXPECT_EQ(MessagesShown(), std::vector<std::string>{Gbk("找不到快照文件：") + outside_ / "gone.cdg"});
  EXPECT_TRUE(test::PathExists(DataFile("DVD_01")));
  EXPECT_TRUE(test::PathExists(DataFile("CD_02")));
  EXPECT_EQ(TextsBelow(*Form().TreeView1, FindNodeByPath(*Form().TreeView1, "Work\\")),
            (std::vector<std::string>{"DVD_01", "CD_02"}));  // in the order named
}

TEST_F(SnapshotExchangeTest, ImportRefusalsShowTheDialogAgainUntilCancelled) {
  const std::string catalogue = test::ReadBytes(CataloguePath());
  for (const char* name : {"My Disc", "Star", "Fresh"}) {
    test::WriteBytes(outside_ / (std::string(name) + ".cdg"), test::SnapshotBytesOf("X"));
    Import(outside_ / (std::string(name) + ".cdg"), name == std::string("Fresh") ? "" : "Work\\");
    dialogs_.Then<TAppIdxFile>([](TAppIdxFile& dialog) {
      EXPECT_FALSE(dialog.DateText().empty());
      dialog.btn1Click();
    });
    Form().N39Click();
  }
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{Gbk("请修改快照名称：包含无效字符！请参考帮助中的说明。"),
                                                       Gbk("快照名称已存在！"), Gbk("快照信息不完整，请检查！")}));
  EXPECT_TRUE(dialogs_.Done());
  EXPECT_EQ(test::ReadBytes(CataloguePath()), catalogue);
  EXPECT_FALSE(test::PathExists(DataFile("Fresh")));
}

TEST_F(SnapshotExchangeTest, ImportChecksAndCopiesBeforeCataloguing) {
  const std::string catalogue = test::ReadBytes(CataloguePath());
  // Not a snapshot: turned away before the dialog.
  test::WriteBytes(outside_ / "Junk.cdg", "hello\r\n");
  files_.answer = outside_ / "Junk.cdg";
  Form().N39Click();
  EXPECT_EQ(dialogs_.Shown(), 0);

  // A file of that name already in the data folder stays as it was.
  test::WriteBytes(DataFile("Extra"), "old");
  test::WriteBytes(outside_ / "Extra.cdg", test::SnapshotBytesOf("Extra"));
  Import(outside_ / "Extra.cdg", "Work\\");
  Form().N39Click();
  EXPECT_EQ(test::ReadBytes(DataFile("Extra")), "old");

  // A copy that fails.
  test::WriteBytes(outside_ / "Other.cdg", test::SnapshotBytesOf("Other"));
  {
    test::FailingFileSystem failing;
    failing.fail_copy = true;
    test::ScopedFileSystem scoped(&failing);
    Import(outside_ / "Other.cdg", "Work\\");
    Form().N39Click();
  }
  // A category the catalogue does not hold.
  files_.answer = outside_ / "Other.cdg";
  dialogs_.Then<TAppIdxFile>([](TAppIdxFile& dialog) {
    SetFieldText(*dialog.edt3, "Gone\\");
    dialog.btn2Click();
  });
  Form().N39Click();
  // Cancelling the file choice.
  files_.answer.reset();
  Form().N39Click();

  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{Gbk("快照文件格式错误，导入失败！"), Gbk("复制快照文件错误，导入失败！"),
                                                       Gbk("复制快照文件错误，导入失败！"),
                                                       Gbk("无法确定快照导入位置，导入失败！")}));
  EXPECT_EQ(test::ReadBytes(CataloguePath()), catalogue);
  EXPECT_FALSE(Form().Catalogue().IsModified());
  EXPECT_FALSE(test::PathExists(DataFile("Other")));
  EXPECT_TRUE(TextsBelow(*Form().TreeView1, FindNodeByPath(*Form().TreeView1, "Work\\")).empty());
}

TEST_F(SnapshotExchangeTest, ExportWritesTheNodesDiscWhateverIsLoaded) {
  ASSERT_TRUE(ReadSnapshot(Form().Index(), Gbk((ProgramFolder() + "/CDROM/Loose.cdg").c_str())));
  Form().ContentState().loaded_disc_name = "Loose";
  Export({"影视", "电影", "Star"}, outside_.path());
  EXPECT_EQ(folders_.captions, (std::vector<std::string>{Gbk("请选择导出位置")}));
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_EQ(test::ReadBytes(outside_ / "Star.cdg"), test::SnapshotBytesOf("Star"));
  EXPECT_EQ(Form().ContentState().loaded_disc_name, "Star");
  EXPECT_EQ(Form().ContentState().loaded_node_path, Gbk("影视\\电影\\Star\\"));
  EXPECT_EQ(Form().StatusBar1->GetStatusText(0).utf8_string(), "已导出到 " + outside_.path() + "/Star.cdg");

  // Nothing is overwritten.
  test::WriteBytes(outside_ / "Star.cdg", "mine");
  Export({"影视", "电影", "Star"}, outside_.path());
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{Gbk("此文件夹已包含同名文件！")}));
  EXPECT_EQ(test::ReadBytes(outside_ / "Star.cdg"), "mine");
}

TEST_F(SnapshotExchangeTest, ExportRefusalsAndAFailedWrite) {
  Export({"影视", "Loose"}, std::nullopt);
  Export({"影视", "Loose"}, outside_ / "missing");
  Export({"Work"}, outside_.path());
  {
    test::FailingFileSystem failing;
    failing.fail_write = true;
    test::ScopedFileSystem scoped(&failing);
    Export({"影视", "Loose"}, outside_.path());
  }
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{Gbk("请先指定导出的光盘！"), Gbk("请先指定导出的光盘！"),
                                                       Gbk("无法找到光盘快照，请选择光盘节点！"),
                                                       Gbk("写入导出文件时产生错误！")}));
  EXPECT_FALSE(test::PathExists(outside_ / "Loose.cdg"));
}

TEST_F(SnapshotExchangeTest, ASnapshotThatDoesNotReadThroughIsExportedWhole) {
  const std::string damaged = test::SnapshotBytesOf("Moon") + "E:\\broken line\r\n" + test::SnapshotBytesOf("Moon2");
  test::WriteBytes(DataFile("Moon"), damaged);
  Export({"影视", "电影", "Moon"}, outside_.path());
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_EQ(test::ReadBytes(outside_ / "Moon.cdg"), damaged);
  EXPECT_TRUE(Form().ContentState().loaded_disc_name.empty());
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

TEST_F(SnapshotExchangeTest, AListOfADiscIsWrittenAsTheChosenTypeAndComesBackAsADisc) {
  // The type chosen adds its extension; a name with one keeps it.
  Form().CurrentCategoryNode() = test::NodeByTexts(*Form().TreeView1, {"影视", "电影", "Star"});
  files_.save_answer = std::pair{outside_ / "star", 2};
  Form().L3Click();
  EXPECT_EQ(files_.name, "Star");
  ASSERT_TRUE(test::PathExists(outside_ / "star.efu"));
  EXPECT_EQ(Form().StatusBar1->GetStatusText(0).utf8_string(), "已导出 2 行到 " + outside_ / "star.efu");

  files_.answer = outside_ / "star.efu";
  dialogs_.Then<TAppIdxFile>([](TAppIdxFile& dialog) {
    EXPECT_EQ(dialog.DiscNameText(), "star");
    dialog.tv1->SelectItem(FindNodeByPath(*dialog.tv1, "Work\\"));
    dialog.btn2Click();
  });
  Form().L2Click();
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_EQ(test::ReadBytes(DataFile("star")), "E:\\Star\\A.TXT[5]2006/3/3 9:07:02\r\nE:\\|Star[]2006/3/3\r\n");
  EXPECT_EQ(TextsBelow(*Form().TreeView1, FindNodeByPath(*Form().TreeView1, "Work\\")), (std::vector<std::string>{"star"}));
  EXPECT_EQ(Form().StatusBar1->GetStatusText(0).utf8_string(), "已导入光盘 star（2 个对象）");
}

TEST_F(SnapshotExchangeTest, TheResultsListHasTheCheckedRowsWhenAnyAreChecked) {
  ResultsListCtrl& list = *Form().ListView2;
  list.Rows().AddDisc(Gbk("影视\\电影\\Star"));
  list.Rows().AddEntry(true, "a,b.txt", "E:\\", 3, 38779.0);
  list.Rows().AddEntry(true, "c.txt", "E:\\", 4, 38779.0);
  list.ShowRows();
  for (const bool check : {false, true}) {
    if (check) list.CheckItem(2, true);
    files_.save_answer = std::pair{outside_ / "results.csv", 3};  // the extension decides
    Form().L4Click();
    const std::string csv = test::ReadBytes(outside_ / "results.csv");
    EXPECT_EQ(csv.find("a,b.txt") == std::string::npos, check) << csv;
    EXPECT_NE(csv.find("影视\\电影\\Star,E:\\,c.txt,file,4,2006-03-03 00:00:00"), std::string::npos) << csv;
  }
}

}  // namespace
}  // namespace movra
