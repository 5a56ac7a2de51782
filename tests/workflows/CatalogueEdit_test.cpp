// Edits under the home's lock: the catalogue is read again when another
// program changed it, never when only its stamp moved, and a home kept locked
// by another writer refuses the edit with nothing changed.
#include "workflows/CatalogueEdit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/TextCodec.h"
#include "snapshot/SnapshotFile.h"
#include "support/TempDir.h"
#include "workflows/AddDisc.h"
#include "workflows/ImportSnapshot.h"

namespace movra {
namespace {

using namespace std::chrono_literals;

class CatalogueEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(file_, "<root><CDLIST><T_A/></CDLIST></root>");
    ASSERT_TRUE(doc_.Open(file_));
    home_.file = LockFileOf(file_);
    home_.wait = 20ms;
    home_.reloaded = [this] { ++reloads_; };
  }
  // Another program adds a main category and saves.
  void OtherWriterAdds(const char* category) {
    CatalogueDocument other;
    ASSERT_TRUE(other.Open(file_));
    other.GetOrAddChild(other.CdList(), std::string("T_") + category);
    ASSERT_EQ(other.Save(), SaveResult::kSaved);
  }
  bool Has(const char* category) { return bool(doc_.ResolvePath(std::string(category) + "\\", false)); }

  test::TempDir dir_;
  std::string file_ = dir_ / "Movra.xml";
  CatalogueDocument doc_;
  HomeLock home_;
  int reloads_ = 0;
  Workspace work_{doc_, std::filesystem::path(dir_.path()) / "CDROM", nullptr, &home_};
};

TEST_F(CatalogueEditTest, AnEditReadsWhatAnotherProgramWroteAndOnlyThen) {
  {
    const CatalogueEdit edit = CatalogueEdit::Begin(work_);
    ASSERT_TRUE(edit.ok());
    EXPECT_FALSE(edit.reloaded());
  }
  OtherWriterAdds("B");
  const CatalogueEdit edit = CatalogueEdit::Begin(work_);
  ASSERT_TRUE(edit.ok());
  EXPECT_TRUE(edit.reloaded());
  EXPECT_EQ(reloads_, 1);
  EXPECT_TRUE(Has("A"));
  EXPECT_TRUE(Has("B"));
}

TEST_F(CatalogueEditTest, OwnSavesAndRewritesOfTheSameBytesAreNoChange) {
  doc_.GetOrAddChild(doc_.CdList(), "T_C");
  ASSERT_EQ(doc_.Save(), SaveResult::kSaved);
  EXPECT_FALSE(CatalogueEdit::Begin(work_).reloaded());
  // Copied over with the bytes it has: a new file, the same catalogue.
  const std::string bytes = test::ReadBytes(file_);
  std::filesystem::remove(file_);
  test::WriteBytes(file_, bytes);
  EXPECT_FALSE(CatalogueEdit::Begin(work_).reloaded());
  // Removed: read again (a new, empty catalogue).
  std::filesystem::remove(file_);
  EXPECT_TRUE(CatalogueEdit::Begin(work_).reloaded());
  EXPECT_FALSE(Has("C"));
}

TEST_F(CatalogueEditTest, AHomeLockedByAnotherWriterRefusesTheEdit) {
  FileLock other = FileLock::Acquire(home_.file, 0ms);
  ASSERT_TRUE(other.held());
  OtherWriterAdds("B");
  const CatalogueEdit edit = CatalogueEdit::Begin(work_);
  EXPECT_EQ(edit.result().outcome, Outcome::kBusy);
  EXPECT_EQ(edit.result().message, Utf8ToGbk("光盘目录正被另一个程序修改，请稍后再试！"));
  // Not even read again: the holder may be half-way through its write.
  EXPECT_FALSE(Has("B"));
  other.Release();
  EXPECT_TRUE(CatalogueEdit::Begin(work_).ok());
}

TEST_F(CatalogueEditTest, AHomeWithoutLocksGoesOnAndSaysSoOnce) {
  home_.file = dir_ / "no such folder/Movra.xml.lock";
  const CatalogueEdit first = CatalogueEdit::Begin(work_);
  EXPECT_TRUE(first.ok());
  EXPECT_FALSE(first.warning().empty());
  const CatalogueEdit second = CatalogueEdit::Begin(work_);
  EXPECT_TRUE(second.ok());
  EXPECT_TRUE(second.warning().empty());
}

// What another program did between the first check of a new disc and its filing.
struct Meanwhile {
  const char* what;
  const char* catalogue;  // the catalogue the other program saved
  Outcome outcome;
  const char* add_message;
  const char* import_message;
};

TEST_F(CatalogueEditTest, ANewDiscIsCheckedAgainstTheCatalogueAsItIsWhenFiled) {
  const Meanwhile cases[] = {
      {"filed a disc of that name", "<root><CDLIST><T_A><D_New/></T_A></CDLIST></root>", Outcome::kRefused,
       "光盘名称已存在！", "快照名称已存在！"},
      {"deleted the category", "<root><CDLIST/></root>", Outcome::kNotFound, "无法确定光盘的分类，添加失败！",
       "无法确定快照导入位置，导入失败！"},
  };
  SnapshotIndex scanned;
  scanned.AddFile("E:\\", "mine.txt", 38779.0, 5);
  test::WriteBytes(dir_ / "in/New.cdg", SnapshotText(scanned));
  const std::string theirs = "E:\\|theirs.txt[]2006/3/3\r\n";
  const std::string snapshot = dir_ / "CDROM/New.cdg";
  for (const Meanwhile& c : cases) {
    ASSERT_TRUE(doc_.Open(file_));
    test::WriteBytes(file_, c.catalogue);
    test::WriteBytes(snapshot, theirs);
    const WorkflowResult added = FileNewDisc(work_, {"New", "d", "A\\", ""}, scanned);
    EXPECT_EQ(added.outcome, c.outcome) << c.what;
    EXPECT_EQ(added.message, Utf8ToGbk(c.add_message)) << c.what;
    const WorkflowResult imported = ImportSnapshotFile(work_, dir_ / "in/New.cdg", {"New", "d", "A\\", ""});
    EXPECT_EQ(imported.outcome, c.outcome) << c.what;
    EXPECT_EQ(imported.message, Utf8ToGbk(c.import_message)) << c.what;
    EXPECT_EQ(test::ReadBytes(snapshot), theirs) << c.what;
    EXPECT_EQ(test::ReadBytes(file_), c.catalogue) << c.what;
  }
}

TEST_F(CatalogueEditTest, TheBackupAtStartIsTakenUnderTheLockFromAReadableFile) {
  const std::string backup = dir_ / "Movra.xml.backup";
  test::WriteBytes(backup, "last good");
  {
    FileLock other = FileLock::Acquire(home_.file, 0ms);
    const WorkflowResult busy = BackUpCatalogue(work_, file_, backup);
    EXPECT_EQ(busy.outcome, Outcome::kBusy);
    EXPECT_TRUE(Has("A"));  // opened all the same
    EXPECT_EQ(test::ReadBytes(backup), "last good");
  }
  test::WriteBytes(file_, "<root><CDLIST><T_A/>");
  EXPECT_EQ(BackUpCatalogue(work_, file_, backup).outcome, Outcome::kCatalogueUnreadable);
  EXPECT_EQ(test::ReadBytes(backup), "last good");
  const std::string bytes = "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n<root><CDLIST><T_B/></CDLIST></root>\r\n";
  test::WriteBytes(file_, bytes);
  EXPECT_TRUE(BackUpCatalogue(work_, file_, backup).ok());
  EXPECT_EQ(test::ReadBytes(backup), bytes);
  EXPECT_TRUE(Has("B"));
  std::filesystem::remove(file_);
  EXPECT_TRUE(BackUpCatalogue(work_, file_, backup).ok());  // a first start: nothing to back up
  EXPECT_EQ(test::ReadBytes(backup), bytes);
}

}  // namespace
}  // namespace movra
