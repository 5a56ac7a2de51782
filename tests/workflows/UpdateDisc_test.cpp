#include "workflows/UpdateDisc.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <string>
#include <vector>

#include "workflows/DiscCataloguing.h"
#include "workflows/ScanRoot.h"
#include "snapshot/SnapshotFile.h"
#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> LinesOf(const SnapshotDiff& diff) {
  std::vector<std::string> lines;
  for (const SnapshotChange& c : diff.changes) lines.push_back(ChangeLine(c));
  return lines;
}

TEST(SnapshotDiffTest, OnePassOverBothSnapshotsFindsEachKindOfChange) {
  const DateTime t = 38779.5;  // 2006/3/3 12:00
  SnapshotIndex old_index, new_index;
  // Entries of a folder in a different order on each side: the merge sorts per folder.
  old_index.AddFolder("D:\\", "A", t, 0);
  old_index.AddFolder("D:\\", "GONE", t, 0);
  old_index.AddFile("D:\\A\\", "y", t, 1);
  old_index.AddFile("D:\\A\\", "x", t, 1);
  old_index.AddFile("D:\\GONE\\", "old", t, 7);
  old_index.AddFile("D:\\", "b.txt", t, 5);
  old_index.AddFile("D:\\", "same", t, 9);
  new_index.AddFolder("D:\\", "NEW", t, 0);
  new_index.AddFolder("D:\\", "A", t, 0);
  new_index.AddFile("D:\\NEW\\", "n", t, 0);
  new_index.AddFile("D:\\A\\", "z", t, 1);
  new_index.AddFile("D:\\A\\", "x", t, 2);                // size
  new_index.AddFile("D:\\", "same", t + 0.4 / 86400, 9);  // a snapshot file keeps whole seconds
  new_index.AddFile("D:\\", "b.txt", t + 2.0 / 86400, 5); // time
  const SnapshotDiff diff = DiffSnapshots(old_index, new_index);
  EXPECT_THAT(LinesOf(diff), ElementsAre("+ D:\\NEW\\n", "- D:\\GONE\\old", "~ D:\\A\\x", "- D:\\A\\y",
                                         "+ D:\\A\\z", "- D:\\GONE\\", "+ D:\\NEW\\", "~ D:\\b.txt"));
  EXPECT_EQ(diff.added, 3u);
  EXPECT_EQ(diff.removed, 3u);
  EXPECT_EQ(diff.changed, 2u);
  EXPECT_EQ(diff.changes[2].oldSize, 1);
  EXPECT_EQ(diff.changes[2].newSize, 2);
  EXPECT_TRUE(DiffSnapshots(new_index, new_index).Empty());
  EXPECT_EQ(DiffSnapshots(SnapshotIndex(), new_index).added, new_index.Count());
}

// A catalogued disc D_X, added from a folder tree on drive D:, whose tree then changes.
class DiscUpdateTest : public ::testing::Test {
 protected:
  DiscUpdateTest() : drives_({{'D', dir_ / "disc", "", true}}) {
    test::WriteBytes(dir_ / "Movra.xml",
                     "<root><CDLIST><T_A><D_X><Title>X</Title><Time>2006/3/3</Time><Memo>m</Memo></D_X>"
                     "</T_A></CDLIST></root>");
    std::filesystem::create_directory(dir_ / "CDROM");
    Put("VIDEO/A.VOB", "aaaa");
    Put("VIDEO/B.VOB", "bb");
    Put("readme.txt", "r");
    Touch("VIDEO");
    EXPECT_TRUE(doc_.Open(dir_ / "Movra.xml"));
    SnapshotIndex index;
    EXPECT_EQ(ScanDisc(index, drives_, "D:\\"), DiscScanResult::kScanned);
    EXPECT_TRUE(WriteSnapshot(index, Snapshot()));
  }

  void Put(const std::string& relative, const std::string& bytes) {
    test::WriteBytes(dir_ / ("disc/" + relative), bytes);
    Touch(relative);
  }
  // Every path gets one fixed time, so only the changes made on purpose show.
  void Touch(const std::string& relative) {
    ASSERT_TRUE(test::SetTimes(dir_ / ("disc/" + relative), 1136250422));
  }
  std::string Snapshot() const { return dir_ / "CDROM/X.cdg"; }
  std::string DiscXml() const {
    const std::string xml = test::ReadBytes(dir_ / "Movra.xml");
    const std::size_t start = xml.find("<D_X>");
    return start == std::string::npos ? xml : xml.substr(start, xml.find("</D_X>") - start);
  }

  // Records the discs whose snapshot was written.
  struct Written : SnapshotObserver {
    std::vector<std::string> discs;
    void SnapshotWritten(std::string_view name) override { discs.emplace_back(name); }
    void SnapshotRemoved(std::string_view) override {}
  };

  test::TempDir dir_;
  DriveMap drives_;
  CatalogueDocument doc_;
  Written written_;
  Workspace work_{doc_, std::filesystem::path(dir_.path()) / "CDROM", &written_};
};

TEST_F(DiscUpdateTest, ShowsTheChangesAndReplacesTheSnapshotKeepingTitleAndMemo) {
  Put("VIDEO/A.VOB", "aaaaaaaa");
  std::filesystem::remove(dir_ / "disc/VIDEO/B.VOB");
  Put("VIDEO/C.VOB", "c");
  Touch("VIDEO");
  const std::string before = test::ReadBytes(Snapshot());
  PreparedUpdate prepared = PrepareDiscUpdate(work_, drives_, "X", "D:");
  ASSERT_TRUE(prepared.result.ok());
  EXPECT_THAT(LinesOf(prepared.update->diff),
              ElementsAre("~ D:\\VIDEO\\A.VOB", "- D:\\VIDEO\\B.VOB", "+ D:\\VIDEO\\C.VOB"));
  EXPECT_EQ(test::ReadBytes(Snapshot()), before);  // nothing changes before the user agrees

  ASSERT_TRUE(ApplyDiscUpdate(work_, *prepared.update, "2026/12/8 9:00:00").ok());
  EXPECT_EQ(written_.discs, std::vector<std::string>{"X"});
  EXPECT_EQ(test::ReadBytes(Snapshot()), SnapshotText(prepared.update->new_index));
  EXPECT_EQ(DiscXml(), "<D_X><Title>X</Title><Time>2026/12/8 9:00:00</Time><Memo>m</Memo>");

  EXPECT_EQ(PrepareDiscUpdate(work_, drives_, "Y", "D:\\").result.outcome, Outcome::kNotFound);
  EXPECT_EQ(PrepareDiscUpdate(work_, drives_, "X", "D:\\nowhere\\").result.outcome, Outcome::kNothingFound);
}

TEST_F(DiscUpdateTest, AScanRootThatAddWouldRefuseIsRefusedAndNothingChanges) {
  MOVRA_SKIP_WITHOUT(kByteNames);  // a name with a bar
  Put("a|b/x.txt", "x");
  const std::string snapshot = test::ReadBytes(Snapshot());
  const std::string xml = DiscXml();
  const std::string message = ScanRootMessage({ScanRootFault::kBarOrBackslash, "a|b"});
  for (const std::string& source : {std::string("D:\\a|b\\"), dir_ / "disc/a|b"}) {
    const PreparedUpdate prepared = PrepareDiscUpdate(work_, drives_, "X", source);
    EXPECT_EQ(prepared.result.outcome, Outcome::kRefused) << source;
    EXPECT_EQ(prepared.result.message, message) << source;
    EXPECT_EQ(prepared.update, nullptr);
  }
  EXPECT_EQ(test::ReadBytes(Snapshot()), snapshot);
  EXPECT_EQ(DiscXml(), xml);
  EXPECT_TRUE(written_.discs.empty());
}

// A catalogue that cannot be saved, while snapshot files can be written.
class CatalogueWriteFails : public test::FailingFileSystem {
 public:
  bool WriteFileAtomic(const std::string& path, std::string_view bytes, bool sync) override {
    if (path.ends_with(".xml")) return false;
    return FailingFileSystem::WriteFileAtomic(path, bytes, sync);
  }
};

TEST_F(DiscUpdateTest, FailedSaveOrWritePutsEverythingBack) {
  Put("new.txt", "n");
  const std::string snapshot = test::ReadBytes(Snapshot());
  const std::string xml = DiscXml();
  PreparedUpdate prepared = PrepareDiscUpdate(work_, drives_, "X", "D:\\");
  ASSERT_TRUE(prepared.result.ok());
  EXPECT_EQ(prepared.update->diff.added, 1u);
  {
    CatalogueWriteFails fs;
    test::ScopedFileSystem scoped(&fs);
    EXPECT_EQ(ApplyDiscUpdate(work_, *prepared.update, "2026/12/8").outcome, Outcome::kSaveFailed);
  }
  {
    test::FailingFileSystem fs;
    fs.fail_write = true;
    test::ScopedFileSystem scoped(&fs);
    EXPECT_EQ(ApplyDiscUpdate(work_, *prepared.update, "2026/12/8").outcome, Outcome::kFailed);
  }
  EXPECT_EQ(test::ReadBytes(Snapshot()), snapshot);
  EXPECT_EQ(DiscXml(), xml);
  EXPECT_EQ(CatalogueDocument::ElementText(
                CatalogueDocument::FindChild(doc_.FindDiscElement("D_X"), "Time")),
            "2006/3/3");
  EXPECT_TRUE(written_.discs.empty());
}

}  // namespace
}  // namespace movra
