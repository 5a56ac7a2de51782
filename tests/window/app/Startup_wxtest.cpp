// Start-up, refresh, close and saving of the main window in a temporary program folder.
#include <gtest/gtest.h>
#include <wx/msgdlg.h>
#include <wx/testing.h>

#include "window/controls/CategoryTrees.h"
#include "platform/TextCodec.h"
#include "support/MainWindowFixture.h"

namespace movra {
namespace {

using test::Gbk;
using test::PathExists;
using test::ReadBytes;
using test::WriteBytes;

const char* const kCatalogue =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>"
    "<T_电影> <T_动作> <D_DVD_01><Title>DVD_01</Title><Time>2006/3/3</Time></D_DVD_01></T_动作>"
    "<D_电影合集><Title>电影合集</Title></D_电影合集></T_电影><T_apps> </T_apps></CDLIST></root>";

// Top-level node texts of a tree, in order, as UTF-8 joined by blanks.
std::string TopTexts(const wxTreeCtrl& tree) {
  std::string out;
  for (wxTreeItemId item = FirstTopNode(tree); item.IsOk(); item = tree.GetNextSibling(item)) {
    if (!out.empty()) out += ' ';
    out += GbkToUtf8(NodeText(tree, item));
  }
  return out;
}

class StartupTest : public test::MainWindowFixture {};

TEST_F(StartupTest, FirstRunShowsNoMessageOpensEmptyTreesAndWritesNothing) {
  TForm1& form = StartForm();
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_EQ(TopTexts(*form.TreeView1), "");
  EXPECT_EQ(TopTexts(*form.TreeView2), "");
  EXPECT_FALSE(form.CurrentCategoryNode().IsOk());
  EXPECT_FALSE(form.CurrentDiscNode().IsOk());
  // The document holds root and CDLIST in memory only.
  EXPECT_TRUE(CatalogueDocument::FindChild(form.Catalogue().Root(), "CDLIST"));
  EXPECT_TRUE(form.CatalogueWritable());
  DestroyForm();
  EXPECT_FALSE(PathExists(CataloguePath()));
  EXPECT_FALSE(PathExists(BackupPath()));
}

TEST_F(StartupTest, SecondStartBacksUpTheCatalogueAndFillsBothTrees) {
  const std::string bytes = Gbk(kCatalogue);
  WriteCatalogue(bytes);
  WriteBytes(BackupPath(), "older backup");
  TForm1& form = StartForm();
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_EQ(ReadBytes(BackupPath()), bytes);
  EXPECT_EQ(ReadBytes(CataloguePath()), bytes);  // start-up reads only
  EXPECT_EQ(TopTexts(*form.TreeView1), "apps 电影");
  EXPECT_EQ(TopTexts(*form.TreeView2), "DVD_01 电影合集");
  // Each tree has a selected node, which is also its current node.
  EXPECT_EQ(form.TreeView1->GetSelection(), FirstTopNode(*form.TreeView1));
  EXPECT_EQ(form.CurrentCategoryNode(), FirstTopNode(*form.TreeView1));
  EXPECT_EQ(form.CurrentDiscNode(), FirstTopNode(*form.TreeView2));
  EXPECT_EQ(form.BackupFile(), Gbk(BackupPath().c_str()));
  EXPECT_EQ(form.DataFolder(), ProgramFolder() + "/CDROM/");
}

TEST_F(StartupTest, UnreadableCatalogueIsReportedKeepsTheBackupAndIsNeverWritten) {
  const std::string broken = "<?xml version=\"1.0\"?><root><CDLIST><T_A>";
  WriteCatalogue(broken);
  WriteBytes(BackupPath(), "last good backup");
  TForm1& form = StartForm();
  ASSERT_EQ(MessagesShown().size(), 1u);
  EXPECT_EQ(MessagesShown()[0], Gbk("xml 配置文件无法读取，本次运行不会保存任何更改！"));
  EXPECT_EQ(ReadBytes(BackupPath()), "last good backup");
  EXPECT_FALSE(form.CatalogueWritable());
  EXPECT_EQ(TopTexts(*form.TreeView1), "");
  EXPECT_EQ(TopTexts(*form.TreeView2), "");
  // Nothing the commands do can write over the file.
  EXPECT_FALSE(form.Catalogue().ResolvePath("A\\", false));
  EXPECT_EQ(form.SaveCatalogue(), SaveResult::kNothingToSave);
  form.N57Click();
  DestroyForm();
  EXPECT_EQ(ReadBytes(CataloguePath()), broken);
  EXPECT_EQ(ReadBytes(BackupPath()), "last good backup");
}

TEST_F(StartupTest, AFailedBackupIsReportedAndStartUpGoesOn) {
  WriteCatalogue(Gbk(kCatalogue));
  test::FailingFileSystem fs;
  fs.fail_copy = true;
  test::ScopedFileSystem scoped(&fs);
  TForm1& form = StartForm();
  ASSERT_EQ(MessagesShown().size(), 1u);
  EXPECT_EQ(MessagesShown()[0], Gbk("备份 xml 配置文件时产生错误！"));
  EXPECT_FALSE(PathExists(BackupPath()));
  EXPECT_EQ(TopTexts(*form.TreeView1), "apps 电影");
  EXPECT_TRUE(form.CatalogueWritable());
}

TEST_F(StartupTest, TheStartUpMessageCanBeExpectedWithTestDialog) {
  WriteCatalogue("not xml");
  wxTEST_DIALOG(StartForm(), wxExpectModal<wxMessageDialog>(wxID_OK));
  EXPECT_TRUE(MessagesShown().empty());  // the expectation took the box, the fixture never saw it
}

TEST_F(StartupTest, CatalogueComesFromTheCurrentFolderBackupAndDataFromTheProgramFolder) {
  UseSeparateWorkFolder();
  const std::string bytes = Gbk(kCatalogue);
  WriteCatalogue(bytes);
  TForm1& form = StartForm();
  EXPECT_TRUE(MessagesShown().empty());
  EXPECT_EQ(ReadBytes(BackupPath()), bytes);
  EXPECT_EQ(form.DataFolder(), ProgramFolder() + "/CDROM/");
  EXPECT_EQ(TopTexts(*form.TreeView1), "apps 电影");
  // A change is written to the current folder's catalogue.
  Element cd_list = CatalogueDocument::FindChild(form.Catalogue().Root(), "CDLIST");
  form.Catalogue().SetElementText(form.Catalogue().GetOrAddChild(cd_list, "T_new"), " ");
  EXPECT_EQ(form.SaveCatalogue(), SaveResult::kSaved);
  EXPECT_NE(ReadBytes(CataloguePath()).find("T_new"), std::string::npos);
  EXPECT_FALSE(PathExists(ProgramFolder() + "/Movra.xml"));
}

TEST_F(StartupTest, AFailedSaveIsReportedAndTheNextSaveWritesTheChange) {
  const std::string bytes = Gbk(kCatalogue);
  WriteCatalogue(bytes);
  TForm1& form = StartForm();
  test::FailingFileSystem fs;
  fs.fail_write = true;
  test::ScopedFileSystem scoped(&fs);
  Element cd_list = CatalogueDocument::FindChild(form.Catalogue().Root(), "CDLIST");
  form.Catalogue().SetElementText(form.Catalogue().GetOrAddChild(cd_list, "T_new"), " ");
  EXPECT_EQ(form.SaveCatalogue(), SaveResult::kFailed);
  ASSERT_EQ(MessagesShown().size(), 1u);
  EXPECT_EQ(MessagesShown()[0], Gbk("保存 xml 配置文件时产生错误！"));
  EXPECT_EQ(ReadBytes(CataloguePath()), bytes);
  fs.fail_write = false;
  EXPECT_EQ(form.SaveCatalogue(), SaveResult::kSaved);
  EXPECT_EQ(MessagesShown().size(), 1u);
  EXPECT_NE(ReadBytes(CataloguePath()).find("T_new"), std::string::npos);
}

TEST_F(StartupTest, ClosingTheWindowWritesNothing) {
  const std::string bytes = Gbk(kCatalogue);
  WriteCatalogue(bytes);
  TForm1& form = StartForm();
  Element cd_list = CatalogueDocument::FindChild(form.Catalogue().Root(), "CDLIST");
  form.Catalogue().GetOrAddChild(cd_list, "T_unsaved");
  DestroyForm();
  EXPECT_EQ(ReadBytes(CataloguePath()), bytes);
}

TEST_F(StartupTest, CloseEmptiesTheIndexAndEndsWithStatusZero) {
  TForm1& form = StartForm();
  form.Index().AddFolder("E:\\", "VIDEO", DateTime{}, 0);
  ASSERT_EQ(form.Index().Count(), 1u);
  form.N38Click();
  EXPECT_EQ(ExitStatus(), 0);
  EXPECT_EQ(form.Index().Count(), 0u);
}

TEST_F(StartupTest, RefreshRebuildsBothTreesFromTheFileWithoutABackup) {
  WriteCatalogue(Gbk(kCatalogue));
  TForm1& form = StartForm();
  form.ToolBar1->EnableTool(form.ToolButton1->GetId(), true);
  form.PopupMenu3->Append(wxID_ANY, "visited");
  form.ListView1->Model().AppendCaption("row", -1);
  form.ListView1->RefreshFromModel();
  form.ShowResultsPanel(true);
  // Another program changed the catalogue meanwhile.
  WriteCatalogue(Gbk("<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST><T_新> <D_盘><Title>盘</Title></D_盘>"
                     "</T_新><T_Z> </T_Z></CDLIST></root>"));
  std::remove(BackupPath().c_str());
  form.N57Click();
  EXPECT_EQ(TopTexts(*form.TreeView1), "Z 新");
  EXPECT_EQ(TopTexts(*form.TreeView2), "盘");
  EXPECT_FALSE(form.CurrentCategoryNode().IsOk());
  EXPECT_FALSE(form.CurrentDiscNode().IsOk());
  EXPECT_FALSE(form.ToolBar1->GetToolEnabled(form.ToolButton1->GetId()));
  EXPECT_FALSE(form.ToolBar1->GetToolEnabled(form.ToolButton13->GetId()));
  EXPECT_EQ(form.PopupMenu3->GetMenuItemCount(), 0u);
  EXPECT_EQ(form.ListView1->Model().Count(), 0u);
  EXPECT_TRUE(form.ResultsPanelShown());  // refresh leaves the search results alone
  EXPECT_FALSE(PathExists(BackupPath()));
  EXPECT_TRUE(MessagesShown().empty());
  // The same trees as a fresh start.
  const std::string after_refresh = TopTexts(*form.TreeView1) + "|" + TopTexts(*form.TreeView2);
  TForm1& fresh = StartForm();
  EXPECT_EQ(TopTexts(*fresh.TreeView1) + "|" + TopTexts(*fresh.TreeView2), after_refresh);
}

TEST_F(StartupTest, RefreshTellsWhenTheCatalogueBecameUnreadable) {
  WriteCatalogue(Gbk(kCatalogue));
  TForm1& form = StartForm();
  WriteCatalogue("<root><CDLIST>");
  form.N57Click();
  ASSERT_EQ(MessagesShown().size(), 1u);
  EXPECT_EQ(MessagesShown()[0], Gbk("xml 配置文件无法读取，本次运行不会保存任何更改！"));
  EXPECT_FALSE(form.CatalogueWritable());
  EXPECT_EQ(TopTexts(*form.TreeView1), "");
  EXPECT_EQ(form.SaveCatalogue(), SaveResult::kNothingToSave);
}

TEST_F(StartupTest, OpticalDrivesComeInLetterOrderAndGiveTheDiscIcon) {
  Drives() = DriveMap({{'F', "/media/f", "", true}, {'D', "/media/d", "", true}, {'E', "/data", "", false}});
  TForm1& form = StartForm();
  EXPECT_EQ(form.OpticalDrives(), (std::vector<std::string>{"D:", "F:"}));
  EXPECT_NE(form.Icons().DiscIconIndex(), form.Icons().FolderIconIndex());
}

TEST_F(StartupTest, WithoutOpticalDrivesTheDiscIconIsTheFolderIcon) {
  TForm1& form = StartForm();
  EXPECT_TRUE(form.OpticalDrives().empty());
  EXPECT_EQ(form.Icons().DiscIconIndex(), form.Icons().FolderIconIndex());
}

}  // namespace
}  // namespace movra
