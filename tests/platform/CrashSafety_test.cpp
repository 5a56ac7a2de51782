// Killing the program while it saves: a child process (the test program
// again) saves a large catalogue and writes a large snapshot over and over,
// and is killed at a random moment once it has begun, many times. Each time the files left are
// the old or the new ones, whole, and the catalogue opens.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>
#include <vector>

#include "catalog/CatalogueDocument.h"
#include "snapshot/SnapshotFile.h"
#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using test::ReadBytes;

// A catalogue of many discs, each with a title and a memo; tag tells versions apart.
void FillCatalogue(CatalogueDocument& doc, const std::string& tag) {
  Element category = doc.GetOrAddChild(doc.CdList(), "T_films");
  for (int i = 0; i < 1500; ++i) {
    Element disc = doc.GetOrAddChild(category, "D_disc" + std::to_string(i));
    doc.SetChildText(disc, "Title", tag + " title " + std::to_string(i));
    doc.SetChildText(disc, "Memo", "\xB1\xB8\xD7\xA2 " + tag);
  }
}

SnapshotIndex LargeSnapshot(std::int64_t size) {
  SnapshotIndex index;
  for (int f = 0; f < 100; ++f) {
    const std::string key = "E:\\FOLDER" + std::to_string(f) + "\\";
    for (int i = 0; i < 300; ++i) index.AddFile(key, "file" + std::to_string(i) + ".dat", 38779.5, size + i);
  }
  return index;
}

// The environment variable that names the saver's folder.
constexpr const char* kSaveFolderVariable = "MOVRA_TEST_SAVE_FOLDER";

// The two versions of the catalogue (read from folder, then filled) and of the snapshot.
struct Versions {
  CatalogueDocument old_doc, new_doc;
  SnapshotIndex old_index = LargeSnapshot(1), new_index = LargeSnapshot(7);
  explicit Versions(const std::string& folder) {
    old_doc.Open(folder + "/Movra.xml");
    FillCatalogue(old_doc, "old");
    new_doc.Open(folder + "/Movra.xml");
    FillCatalogue(new_doc, "new");
  }
};

// Run only by the crash test, in a process of its own: says it has begun,
// then saves both versions in turn until it is killed.
TEST(CrashSafety, DISABLED_SavesUntilKilled) {
  const char* folder = std::getenv(kSaveFolderVariable);
  ASSERT_NE(folder, nullptr);
  Versions versions(folder);
  test::WriteBytes(std::string(folder) + "/begun", "");
  for (int i = 0; i < 1000; ++i) {
    CatalogueDocument& doc = i % 2 ? versions.old_doc : versions.new_doc;
    doc.MarkModified();
    doc.Save();
    WriteSnapshot(i % 2 ? versions.old_index : versions.new_index, std::string(folder) + "/CDROM/disc1.cdg");
  }
}

TEST(CrashSafety, KilledWhileSavingLeavesTheOldOrTheNewFilesWhole) {
  test::TempDir dir;
  const std::string catalogue = dir / "Movra.xml";
  const std::string snapshot = dir / "CDROM/disc1.cdg";
  std::filesystem::create_directory(dir / "CDROM");

  CatalogueDocument old_doc;
  ASSERT_TRUE(old_doc.Open(catalogue));
  FillCatalogue(old_doc, "old");
  ASSERT_EQ(old_doc.Save(), SaveResult::kSaved);
  Versions versions(dir.path());
  CatalogueDocument& new_doc = versions.new_doc;
  const std::string old_xml = versions.old_doc.Serialize(), new_xml = new_doc.Serialize();
  const SnapshotIndex& old_index = versions.old_index;
  const SnapshotIndex& new_index = versions.new_index;
  const std::string old_cdg = SnapshotText(old_index), new_cdg = SnapshotText(new_index);
  ASSERT_TRUE(WriteSnapshot(old_index, snapshot));

  // Measure one round so that the kills fall all over it.
  const auto start = std::chrono::steady_clock::now();
  new_doc.MarkModified();
  ASSERT_EQ(new_doc.Save(), SaveResult::kSaved);
  ASSERT_TRUE(WriteSnapshot(new_index, snapshot));
  const auto round = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);

  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<long> delay(0, 2 * round.count() + 1000);
  int kills = 0, mid_write = 0;  // mid_write: kills that left a temporary file
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (kills < 150 && std::chrono::steady_clock::now() < deadline) {
    test::SetEnvironment(kSaveFolderVariable, dir.path().c_str());
    std::unique_ptr<test::RunningChild> saver = test::StartChild(
        {{test::TestProgramPath(), "--gtest_filter=CrashSafety.DISABLED_SavesUntilKilled",
          "--gtest_also_run_disabled_tests"},
         {},
         {}});
    test::SetEnvironment(kSaveFolderVariable, nullptr);
    ASSERT_TRUE(saver);
    for (int i = 0; i < 2000 && !test::PathExists(dir / "begun"); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(test::PathExists(dir / "begun"));
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    const bool killed = saver->Kill();
    std::filesystem::remove(test::PathOf(dir / "begun"));
    ASSERT_TRUE(killed);
    ++kills;

    const std::string xml = ReadBytes(catalogue);
    ASSERT_TRUE(xml == old_xml || xml == new_xml) << "kill " << kills << ": catalogue of " << xml.size() << " bytes";
    const std::string cdg = ReadBytes(snapshot);
    ASSERT_TRUE(cdg == old_cdg || cdg == new_cdg) << "kill " << kills << ": snapshot of " << cdg.size() << " bytes";
    CatalogueDocument reopened;
    ASSERT_TRUE(reopened.Open(catalogue));
    // What a killed write leaves is a hidden temporary file, never a file the program reads.
    std::vector<std::filesystem::path> left;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path())) {
      const std::string name = entry.path().filename().string();
      if (name != "Movra.xml" && name != "CDROM" && name != "disc1.cdg") left.push_back(entry.path());
    }
    for (const std::filesystem::path& path : left) {
      EXPECT_EQ(path.filename().string().rfind(".movra-", 0), 0u) << path;
      std::filesystem::remove(path);
    }
    mid_write += !left.empty();
  }
  EXPECT_GE(kills, 10);  // a slow machine or a sanitizer build gets fewer rounds in the time
  RecordProperty("kills", kills);
  RecordProperty("killed_mid_write", mid_write);
  std::printf("%d kills, %d in the middle of a write\n", kills, mid_write);
}

}  // namespace
}  // namespace movra
