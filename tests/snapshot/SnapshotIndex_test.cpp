#include "snapshot/SnapshotIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace movra {
namespace {

// (key, name) of every entry in iteration order.
std::vector<std::pair<std::string, std::string>> Walk(const SnapshotIndex& index) {
  std::vector<std::pair<std::string, std::string>> out;
  for (const SnapshotEntryView e : index) out.emplace_back(std::string(e.key), std::string(e.name));
  return out;
}

std::vector<std::string> FolderNames(const SnapshotIndex& index, std::string_view key) {
  std::vector<FolderItem> items;
  EXPECT_TRUE(index.ListFolders(key, items));
  std::vector<std::string> names;
  for (const auto& item : items) names.push_back(item.name);
  return names;
}

using Walked = std::vector<std::pair<std::string, std::string>>;

TEST(SnapshotIndex, EmptyIndexAnswersNothingAndKeepsCallerLists) {
  SnapshotIndex index;
  std::vector<FolderItem> folders{{"kept", 1.0}};
  std::vector<FileItem> files{{"kept", 1.0, 7}};
  EXPECT_FALSE(index.ListFolders("E:\\", folders));
  EXPECT_FALSE(index.ListFiles("E:\\", files));
  ASSERT_EQ(folders.size(), 1u);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(folders[0].name, "kept");
  EXPECT_EQ(index.DriveOf(), "");
  EXPECT_EQ(index.RootFolder(), "");
  EXPECT_EQ(index.Count(), 0u);
  EXPECT_TRUE(index.begin() == index.end());
}

TEST(SnapshotIndex, KeysIterateGreatestFirstWhateverTheInsertionOrder) {
  const std::vector<std::string> keys = {"E:\\AUDIO\\", "E:\\", "E:\\VIDEO\\SUB\\", "E:\\VIDEO\\"};
  SnapshotIndex index;
  for (const auto& key : keys) index.AddFolder(key, "X", 0, 0);
  Walked expected = {{"E:\\VIDEO\\SUB\\", "X"}, {"E:\\VIDEO\\", "X"}, {"E:\\AUDIO\\", "X"}, {"E:\\", "X"}};
  EXPECT_EQ(Walk(index), expected);

  // Bytes are unsigned: a GBK folder name sorts above every Latin one, so
  // its contents come first.
  SnapshotIndex gbk;
  gbk.AddFile("E:\\ZZZ\\", "a", 0, 0);
  gbk.AddFile("E:\\\xB9\xE2\xC5\xCC\\", "b", 0, 0);
  gbk.AddFile("E:\\\x7F\\", "c", 0, 0);
  Walked gbkExpected = {{"E:\\\xB9\xE2\xC5\xCC\\", "b"}, {"E:\\\x7F\\", "c"}, {"E:\\ZZZ\\", "a"}};
  EXPECT_EQ(Walk(gbk), gbkExpected);
}

TEST(SnapshotIndex, EqualKeysKeepInsertionOrderAndDuplicates) {
  SnapshotIndex index;
  index.AddFile("E:\\", "B.TXT", 1.5, 10);
  index.AddFolder("E:\\OTHER\\", "Z", 0, 0);  // another folder in between
  index.AddFile("E:\\", "A.TXT", 2.5, 20);
  index.AddFile("E:\\", "B.TXT", 3.5, 30);
  index.AddFolder("E:\\", "DIR", 4.5, 0);
  EXPECT_EQ(index.Count(), 5u);

  std::vector<FileItem> files;
  ASSERT_TRUE(index.ListFiles("E:\\", files));
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].name, "B.TXT");
  EXPECT_EQ(files[0].size, 10);
  EXPECT_EQ(files[1].name, "A.TXT");
  EXPECT_EQ(files[2].name, "B.TXT");
  EXPECT_DOUBLE_EQ(files[2].modified, 3.5);
  EXPECT_EQ(files[2].size, 30);
  EXPECT_EQ(FolderNames(index, "E:\\"), std::vector<std::string>{"DIR"});
}

TEST(SnapshotIndex, ListingMatchesTheKeyExactly) {
  SnapshotIndex index;
  index.AddFolder("E:\\", "VIDEO", 0, 0);
  index.AddFolder("E:\\VIDEO\\", "SUB", 0, 0);
  index.AddFile("E:\\VIDEO\\", "A.VOB", 0, 5);
  index.AddFile("e:\\", "lower.txt", 0, 1);

  // Neither a prefix nor a longer key nor another case matches.
  std::vector<FileItem> files{{"stale", 0, 0}};
  ASSERT_TRUE(index.ListFiles("E:\\", files));
  EXPECT_TRUE(files.empty());
  EXPECT_EQ(FolderNames(index, "E:\\"), std::vector<std::string>{"VIDEO"});
  EXPECT_EQ(FolderNames(index, "E:\\VIDEO\\"), std::vector<std::string>{"SUB"});
  EXPECT_TRUE(FolderNames(index, "E:\\VIDEO").empty());
  EXPECT_TRUE(FolderNames(index, "E:\\NONE\\").empty());
  ASSERT_TRUE(index.ListFiles("e:\\", files));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].name, "lower.txt");
}

TEST(SnapshotIndex, LengthLimitsSkipSilently) {
  SnapshotIndex index;
  const std::string name255(255, 'n');
  const std::string key255 = std::string(254, 'k') + "\\";
  EXPECT_EQ(index.AddFile("E:\\", name255, 0, 0), 0);
  EXPECT_EQ(index.AddFile(key255, "a", 0, 0), 0);
  EXPECT_EQ(index.Count(), 2u);

  EXPECT_EQ(index.AddFile("E:\\", std::string(256, 'n'), 0, 0), 0);
  EXPECT_EQ(index.AddFolder(std::string(255, 'k') + "\\", "a", 0, 0), 0);
  EXPECT_EQ(index.AddFile("E:\\", "", 0, 0), 0);
  EXPECT_EQ(index.Insert("", SnapshotEntry{"a", 0, true, 0}), 0);
  EXPECT_EQ(index.Count(), 2u);

  std::vector<FileItem> files;
  ASSERT_TRUE(index.ListFiles("E:\\", files));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].name, name255);
}

TEST(SnapshotIndex, InsertKeepsTheCallersKindAndLargeSizes) {
  SnapshotIndex index;
  index.Insert("E:\\", SnapshotEntry{"BIG.ISO", 38000.25, true, 3'000'000'000});
  index.Insert("E:\\", SnapshotEntry{"DIR", 38000.5, false, 0});
  std::vector<FileItem> files;
  ASSERT_TRUE(index.ListFiles("E:\\", files));
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].size, 3'000'000'000);
  EXPECT_DOUBLE_EQ(files[0].modified, 38000.25);
  const SnapshotEntryView first = *index.begin();
  EXPECT_TRUE(first.isFile);
  EXPECT_EQ(first.size, 3'000'000'000);
}

TEST(SnapshotIndex, DriveOfAndRootFolder) {
  SnapshotIndex scan;
  scan.AddFolder("E:\\", "VIDEO", 0, 0);
  scan.AddFile("E:\\VIDEO\\", "A.VOB", 0, 0);
  scan.AddFile("E:\\VIDEO\\SUB\\", "B.VOB", 0, 0);
  EXPECT_EQ(scan.DriveOf(), "E:");
  EXPECT_EQ(scan.RootFolder(), "E:\\");

  // A scan of a folder deeper down: its root is the shallowest key.
  SnapshotIndex folder;
  folder.AddFile("Z:\\home\\ann\\photos\\2006\\", "a.jpg", 0, 0);
  folder.AddFolder("Z:\\home\\ann\\photos\\", "2006", 0, 0);
  EXPECT_EQ(folder.DriveOf(), "Z:");
  EXPECT_EQ(folder.RootFolder(), "Z:\\home\\ann\\photos\\");

  // A network path has no drive; on a tie of backslashes the greatest key wins.
  SnapshotIndex network;
  network.AddFile("\\\\server\\share\\b\\", "x", 0, 0);
  network.AddFolder("\\\\server\\share\\", "b", 0, 0);
  network.AddFolder("\\\\server\\other\\", "c", 0, 0);
  EXPECT_EQ(network.DriveOf(), "");
  EXPECT_EQ(network.RootFolder(), "\\\\server\\share\\");

  // Keys without any backslash never qualify as the root.
  SnapshotIndex odd;
  odd.AddFile("nokey", "x", 0, 0);
  EXPECT_EQ(odd.RootFolder(), "");
  EXPECT_EQ(odd.DriveOf(), "");
}

TEST(SnapshotIndex, ClearEmptiesAndTheIndexRefills) {
  SnapshotIndex index;
  index.AddFile("E:\\", "A", 0, 0);
  index.AddFolder("E:\\", "B", 0, 0);
  index.Clear();
  EXPECT_EQ(index.Count(), 0u);
  EXPECT_TRUE(index.begin() == index.end());
  std::vector<FileItem> files;
  EXPECT_FALSE(index.ListFiles("E:\\", files));

  // The remembered folder of the last insertion must not survive a clear.
  index.AddFile("E:\\", "C", 0, 0);
  index.AddFile("F:\\", "D", 0, 0);
  index.AddFile("E:\\", "E", 0, 0);
  Walked expected = {{"F:\\", "D"}, {"E:\\", "C"}, {"E:\\", "E"}};
  EXPECT_EQ(Walk(index), expected);
}

TEST(SnapshotIndex, CopiesAndMovesAreIndependent) {
  SnapshotIndex original;
  original.AddFile("E:\\", "A", 0, 1);
  SnapshotIndex copy = original;
  copy.AddFile("E:\\", "B", 0, 2);
  original.AddFile("F:\\", "C", 0, 3);
  EXPECT_EQ(Walk(original), (Walked{{"F:\\", "C"}, {"E:\\", "A"}}));
  EXPECT_EQ(Walk(copy), (Walked{{"E:\\", "A"}, {"E:\\", "B"}}));

  SnapshotIndex moved = std::move(copy);
  moved.AddFile("E:\\", "D", 0, 4);
  EXPECT_EQ(moved.Count(), 3u);
  EXPECT_EQ(copy.Count(), 0u);  // NOLINT(bugprone-use-after-move): left empty on purpose
  copy.AddFile("G:\\", "E", 0, 5);
  EXPECT_EQ(Walk(copy), (Walked{{"G:\\", "E"}}));
}

}  // namespace
}  // namespace movra
