// The catalogue workflows under faults: a failed save leaves the data folder
// and the in-memory catalogue as they are on disk; a missing data folder is
// made; bad names and an unreadable catalogue are refused before any change.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/DataHome.h"
#include "platform/TextCodec.h"
#include "snapshot/SnapshotFile.h"
#include "support/TempDir.h"
#include "workflows/AddDisc.h"
#include "workflows/CategoryWorkflows.h"
#include "workflows/DeleteEntry.h"
#include "workflows/ImportSnapshot.h"

namespace movra {
namespace {

constexpr const char* kCatalogue = "<root><CDLIST><T_A><D_Old><Title>Old</Title></D_Old><T_B/></T_A></CDLIST></root>";

struct Recorder : SnapshotObserver {
  std::vector<std::string> events;
  void SnapshotWritten(std::string_view name) override { events.push_back("+" + std::string(name)); }
  void SnapshotRemoved(std::string_view name) override { events.push_back("-" + std::string(name)); }
};

class WorkflowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(dir_ / "Movra.xml", kCatalogue);
    test::WriteBytes(dir_ / "CDROM/Old.cdg", "E:\\|a.txt[]2006/3/3\r\n");
    index_.AddFile("E:\\", "a.txt", 38779.0, 5);
    ASSERT_TRUE(doc_.Open(dir_ / "Movra.xml"));
  }
  // Makes the next save fail: the catalogue's folder goes after it was opened.
  void BreakSave() {
    test::WriteBytes(dir_ / "doomed/Movra.xml", kCatalogue);
    ASSERT_TRUE(doc_.Open(dir_ / "doomed/Movra.xml"));
    std::filesystem::remove_all(dir_ / "doomed");
  }
  bool Catalogued(const char* disc) { return bool(doc_.FindDiscElement(std::string("D_") + disc)); }
  std::string Snapshot(const char* disc) const { return dir_ / ("CDROM/" + std::string(disc) + ".cdg"); }

  test::TempDir dir_;
  CatalogueDocument doc_;
  SnapshotIndex index_;
  Recorder recorder_;
  Workspace work_{doc_, std::filesystem::path(dir_.path()) / "CDROM", &recorder_};
};

TEST_F(WorkflowsTest, AddAndImportFileTheSnapshotAndTellTheObserver) {
  std::filesystem::remove_all(dir_ / "CDROM");  // made again on the first write
  ASSERT_TRUE(FileNewDisc(work_, {"New", "d", "A\\B\\", "m"}, index_).ok());
  EXPECT_TRUE(test::PathExists(Snapshot("New")));
  test::WriteBytes(dir_ / "in/Imp.CDG", SnapshotText(index_));
  ASSERT_TRUE(ImportSnapshotFile(work_, dir_ / "in/Imp.CDG", {"Imp", "d", "A\\", ""}).ok());
  EXPECT_EQ(test::ReadBytes(Snapshot("Imp")), SnapshotText(index_));
  CatalogueDocument reread;
  ASSERT_TRUE(reread.Open(dir_ / "Movra.xml"));
  EXPECT_TRUE(reread.FindDiscElement("D_New") && reread.FindDiscElement("D_Imp"));
  EXPECT_EQ(recorder_.events, (std::vector<std::string>{"+New", "+Imp"}));
}

TEST_F(WorkflowsTest, AFailedSaveUndoesTheFilesAndTheMemory) {
  BreakSave();
  const WorkflowResult added = FileNewDisc(work_, {"New", "d", "A\\", ""}, index_);
  EXPECT_EQ(added.outcome, Outcome::kSaveFailed);
  EXPECT_EQ(added.message, Utf8ToGbk("保存 xml 配置文件时产生错误！"));
  EXPECT_FALSE(test::PathExists(Snapshot("New")));
  EXPECT_FALSE(Catalogued("New"));

  BreakSave();
  test::WriteBytes(dir_ / "in/Imp.cdg", SnapshotText(index_));
  EXPECT_EQ(ImportSnapshotFile(work_, dir_ / "in/Imp.cdg", {"Imp", "d", "A\\", ""}).outcome, Outcome::kSaveFailed);
  EXPECT_FALSE(test::PathExists(Snapshot("Imp")));

  // A delete that cannot be saved keeps the disc (read back from disk) and its snapshot.
  ASSERT_TRUE(doc_.Open(dir_ / "Movra.xml"));
  test::FailingFileSystem failing;
  failing.fail_write = true;
  test::ScopedFileSystem scoped(&failing);
  const DeleteResult deleted = DeleteEntry(work_, {"T_A"});
  EXPECT_EQ(deleted.result.outcome, Outcome::kSaveFailed);
  EXPECT_TRUE(test::PathExists(Snapshot("Old")));
  EXPECT_TRUE(Catalogued("Old"));
  EXPECT_TRUE(recorder_.events.empty());
  EXPECT_EQ(NewMainCategory(work_).result.outcome, Outcome::kSaveFailed);
  EXPECT_FALSE(CatalogueDocument::FindChild(doc_.CdList(), Utf8ToGbk("T_新的主类0")));
}

TEST_F(WorkflowsTest, DeleteRemovesTheSnapshotsOnlyAfterTheSave) {
  const DeleteResult deleted = DeleteEntry(work_, {"T_A"});
  ASSERT_TRUE(deleted.result.ok());
  EXPECT_EQ(deleted.discs, std::vector<std::string>{"Old"});
  EXPECT_FALSE(test::PathExists(Snapshot("Old")));
  EXPECT_EQ(recorder_.events, std::vector<std::string>{"-Old"});
  EXPECT_EQ(DeleteEntry(work_, {"T_A"}).result.outcome, Outcome::kNotFound);
}

TEST_F(WorkflowsTest, InputIsRefusedBeforeAnythingIsScannedOrWritten) {
  const std::string long_name(252, 'x');  // 252 + ".cdg" is no file name
  WorkflowResult checked = CheckNewDisc(work_, {long_name, "d", "A\\", ""}, "E:\\");
  EXPECT_EQ(checked.outcome, Outcome::kRefused);
  EXPECT_EQ(checked.message, AddDiscRefusalText(DiscInputProblem::kNameTooLong));
  EXPECT_EQ(CheckNewDisc(work_, {"Old", "d", "A\\", ""}, "E:\\").message, Utf8ToGbk("光盘名称已存在！"));
  EXPECT_EQ(CheckNewDisc(work_, {"N", "d", "Z\\", ""}, "E:\\").outcome, Outcome::kNotFound);
  EXPECT_EQ(MakeCategory(work_, "A\\a b").result.outcome, Outcome::kRefused);
  EXPECT_EQ(MakeCategory(work_, "A\\B").result.outcome, Outcome::kRefused);   // taken
  EXPECT_EQ(MakeCategory(work_, "Q\\B").result.outcome, Outcome::kNotFound);  // no parent
  EXPECT_TRUE(MakeCategory(work_, "A\\C").result.ok());
}

TEST_F(WorkflowsTest, AnUnreadableCatalogueRefusesEveryEdit) {
  std::filesystem::create_directory(dir_ / "folder.xml");
  EXPECT_FALSE(doc_.Open(dir_ / "folder.xml"));
  const std::string message = Utf8ToGbk("xml 配置文件无法读取，本次运行不会保存任何更改！");
  EXPECT_EQ(CheckNewDisc(work_, {"N", "d", "A\\", ""}, "E:\\").message, message);
  EXPECT_EQ(FileNewDisc(work_, {"N", "d", "A\\", ""}, index_).message, message);
  EXPECT_EQ(CheckImport(work_, {"N", "d", "A\\", ""}).message, message);
  EXPECT_EQ(NewMainCategory(work_).result.message, message);
  EXPECT_EQ(MakeCategory(work_, "A").result.message, message);
  EXPECT_EQ(RenameCategoryTo(work_, "A\\", "Z").message, message);
  EXPECT_EQ(DeleteEntry(work_, {"T_A"}).result.message, message);
  EXPECT_FALSE(test::PathExists(Snapshot("N")));
}

}  // namespace
}  // namespace movra
