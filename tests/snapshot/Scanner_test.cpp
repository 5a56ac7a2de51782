#include "snapshot/Scanner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "search/NameMatcher.h"
#include "snapshot/ScanSource.h"
#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The test folder as drive D:, so keys read "D:\...".
class ScannerTest : public ::testing::Test {
 protected:
  ScannerTest() : drives_({{'D', dir_.path(), dir_ / "no-device", true}}) {}

  void MakeDir(const std::string& relative) {
    ASSERT_TRUE(std::filesystem::create_directory(test::PathOf(dir_ / relative))) << relative;
  }
  void MakeFile(const std::string& relative, const std::string& bytes = "") { test::WriteBytes(dir_ / relative, bytes); }
  void MakeLink(const std::string& target, const std::string& relative) {
    ASSERT_TRUE(test::MakeLink(target, dir_ / relative)) << relative;
  }
  // Sets the last-write time of a path (of a link itself with no_follow).
  void SetTime(const std::string& relative, std::time_t t, bool no_follow = false) {
    ASSERT_TRUE(test::SetTimes(dir_ / relative, t, no_follow)) << relative;
  }

  bool Scan(const std::string& scan_path = "D:\\", const ScanCallback& progress = {}) {
    return ScanFolder(index_, drives_, scan_path, progress);
  }
  std::vector<std::string> Folders(const std::string& key) {
    std::vector<FolderItem> items;
    index_.ListFolders(key, items);
    std::vector<std::string> names;
    for (const FolderItem& i : items) names.push_back(i.name);
    return names;
  }
  std::vector<std::string> Files(const std::string& key) {
    std::vector<FileItem> items;
    index_.ListFiles(key, items);
    std::vector<std::string> names;
    for (const FileItem& i : items) names.push_back(i.name);
    return names;
  }
  // The one file name under key.
  FileItem File(const std::string& key, const std::string& name) {
    std::vector<FileItem> items;
    index_.ListFiles(key, items);
    for (const FileItem& i : items)
      if (i.name == name) return i;
    ADD_FAILURE() << "no file " << key << name;
    return {};
  }
  test::TempDir dir_;
  DriveMap drives_;
  SnapshotIndex index_;
};

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

TEST_F(ScannerTest, EachFolderComesBeforeItsContentsAndFoldersBeforeFiles) {
  // Folders A and B at the root, A holding F, and a file R at the root.
  MakeDir("A");
  MakeDir("B");
  MakeFile("A/F", "12345");
  MakeFile("R", "1");
  struct Seen {
    std::string folder;
    std::size_t folders, files;
  };
  std::vector<Seen> seen;
  ASSERT_TRUE(Scan("D:\\", [&](const ScanProgress& p) {
    seen.push_back({std::string(p.folder), p.folders, p.files});
    return true;
  }));

  // Folders of a key in name order, then its files; R is recorded last of all.
  const std::vector<std::string> order{"A", "B"};
  EXPECT_EQ(Folders("D:\\"), order);
  EXPECT_THAT(Files("D:\\"), ElementsAre("R"));
  EXPECT_THAT(Files("D:\\A\\"), ElementsAre("F"));
  EXPECT_EQ(File("D:\\A\\", "F").size, 5);
  EXPECT_THAT(Folders("D:\\B\\"), IsEmpty());
  EXPECT_THAT(Files("D:\\B\\"), IsEmpty());
  EXPECT_EQ(index_.Count(), 4u);

  // Each folder is entered right after it is recorded, and A's whole subtree
  // is in before the next root entry: entering the second folder has seen
  // exactly the files of the first one.
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].folder, "D:\\");
  EXPECT_EQ(seen[0].folders + seen[0].files, 0u);
  EXPECT_EQ(seen[1].folder, "D:\\" + order[0] + "\\");
  EXPECT_EQ(seen[1].folders, 1u);
  EXPECT_EQ(seen[1].files, 0u);
  EXPECT_EQ(seen[2].folder, "D:\\" + order[1] + "\\");
  EXPECT_EQ(seen[2].folders, 2u);
  EXPECT_EQ(seen[2].files, order[0] == "A" ? 1u : 0u);
}

TEST_F(ScannerTest, HiddenEntriesAreRecordedButNeverDotAndDotDot) {
  MakeDir(".config");
  MakeFile(".config/.rc", "x");
  MakeFile(".hidden");
  MakeDir("empty");
  MakeFile("[a] (b) {c}.txt");
  ASSERT_TRUE(Scan());
  EXPECT_THAT(Files("D:\\"), ::testing::UnorderedElementsAre(".hidden", "[a] (b) {c}.txt"));
  EXPECT_THAT(Folders("D:\\"), ::testing::UnorderedElementsAre(".config", "empty"));
  EXPECT_THAT(Files("D:\\.config\\"), ElementsAre(".rc"));
  EXPECT_THAT(Folders("D:\\.config\\"), IsEmpty());
  for (SnapshotEntryView e : index_) {
    EXPECT_NE(e.name, ".");
    EXPECT_NE(e.name, "..");
    if (!e.isFile) {
      EXPECT_EQ(e.size, 0);
    }
  }
}

TEST_F(ScannerTest, NamesBecomeGbkAndFoldersWithChangedNamesAreReadWhole) {
  MakeDir("\xE5\x85\x89\xE7\x9B\x98");                       // 光盘
  MakeFile("\xE5\x85\x89\xE7\x9B\x98/\xF0\x9F\x98\x80.txt");  // an emoji GBK cannot hold
  MakeFile("\xE5\x85\x89\xE7\x9B\x98/caf\xC3\xA9 \xE2\x82\xAC");  // é and € are in code page 936
  MakeDir("\xF0\x9F\x98\x80");
  MakeFile("\xF0\x9F\x98\x80/in-emoji");
  ASSERT_TRUE(Scan());
  EXPECT_THAT(Folders("D:\\"), ::testing::UnorderedElementsAre("\xB9\xE2\xC5\xCC", "?"));
  EXPECT_THAT(Files("D:\\\xB9\xE2\xC5\xCC\\"), ::testing::UnorderedElementsAre("?.txt", "caf\xA8\xA6 \x80"));
  EXPECT_THAT(Files("D:\\?\\"), ElementsAre("in-emoji"));
}

TEST_F(ScannerTest, SignsNoWindowsNameHoldsBecomeUnderscores) {
  MOVRA_SKIP_WITHOUT(kByteNames);
  MakeDir("a\\b");
  MakeFile("a\\b/in-backslash");
  MakeFile("bar|file");
  MakeFile("line\nfeed");
  ASSERT_TRUE(Scan());
  EXPECT_THAT(Folders("D:\\"), ElementsAre("a_b"));
  EXPECT_THAT(Files("D:\\a_b\\"), ElementsAre("in-backslash"));
  EXPECT_THAT(Files("D:\\"), ::testing::UnorderedElementsAre("bar_file", "line_feed"));
}

TEST_F(ScannerTest, LinksAreRecordedButFoldersBehindThemAreNotEntered) {
  MOVRA_SKIP_WITHOUT(kSymbolicLinks);
  MakeDir("real");
  MakeFile("real/inside", "abc");
  MakeLink(".", "loop");             // a link to its own folder
  MakeLink("real", "to-real");       // a link to a folder
  MakeLink("real/inside", "to-file");
  MakeLink("nowhere", "dangling");
  MakeLink("self", "self");          // a link to itself
  SetTime("real/inside", LocalTime(2001, 2, 3, 4, 5, 6));
  SetTime("dangling", LocalTime(1999, 9, 9, 9, 9, 10), /*no_follow=*/true);
  ASSERT_TRUE(Scan());
  EXPECT_THAT(Folders("D:\\"), ::testing::UnorderedElementsAre("real", "loop", "to-real"));
  EXPECT_THAT(Files("D:\\loop\\"), IsEmpty());
  EXPECT_THAT(Folders("D:\\loop\\"), IsEmpty());
  EXPECT_THAT(Files("D:\\to-real\\"), IsEmpty());
  EXPECT_THAT(Files("D:\\real\\"), ElementsAre("inside"));
  EXPECT_THAT(Files("D:\\"), ::testing::UnorderedElementsAre("to-file", "dangling", "self"));
  const FileItem to_file = File("D:\\", "to-file");
  EXPECT_EQ(to_file.size, 3);
  EXPECT_EQ(to_file.modified, EncodeDateTime({2001, 2, 3, 4, 5, 6}));
  const FileItem dangling = File("D:\\", "dangling");
  EXPECT_EQ(dangling.size, 0);
  EXPECT_EQ(dangling.modified, EncodeDateTime({1999, 9, 9, 9, 9, 10}));
  EXPECT_EQ(File("D:\\", "self").size, 0);
}

TEST_F(ScannerTest, SizesAboveFourGigabytesAreKeptWhole) {
  MOVRA_SKIP_WITHOUT(kSparseFiles);
  MakeFile("big.iso");
  std::filesystem::resize_file(dir_ / "big.iso", 3000000000LL);  // sparse: no space is used
  MakeFile("huge.img");
  std::filesystem::resize_file(dir_ / "huge.img", 5000000000LL);
  ASSERT_TRUE(Scan());
  EXPECT_EQ(File("D:\\", "big.iso").size, 3000000000LL);
  EXPECT_EQ(File("D:\\", "huge.img").size, 5000000000LL);
}

TEST_F(ScannerTest, TimesGoThroughTheTwoSecondForm) {
  MakeFile("odd");
  MakeFile("even");
  MakeFile("old");
  MakeFile("future");
  MakeDir("dir");
  SetTime("odd", LocalTime(2006, 3, 3, 9, 7, 3));
  SetTime("even", LocalTime(2006, 3, 3, 9, 7, 2));
  SetTime("old", LocalTime(1975, 6, 1, 12, 0, 0));
  SetTime("future", LocalTime(2200, 1, 1, 0, 0, 1));
  SetTime("dir", LocalTime(2010, 5, 6, 7, 8, 59));
  ASSERT_TRUE(Scan());
  EXPECT_EQ(File("D:\\", "odd").modified, EncodeDateTime({2006, 3, 3, 9, 7, 2}));
  EXPECT_EQ(File("D:\\", "even").modified, EncodeDateTime({2006, 3, 3, 9, 7, 2}));
  EXPECT_EQ(File("D:\\", "old").modified, EncodeDateTime({1980, 1, 1, 0, 0, 0}));
  EXPECT_EQ(File("D:\\", "future").modified, EncodeDateTime({2107, 12, 31, 23, 59, 58}));
  std::vector<FolderItem> folders;
  index_.ListFolders("D:\\", folders);
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_EQ(folders[0].modified, EncodeDateTime({2010, 5, 6, 7, 8, 58}));
}

TEST(ScanTimeTest, ClampsToTheYearsTheDosFormHolds) {
  EXPECT_EQ(ScanTimeOf(LocalTime(1980, 1, 1, 0, 0, 1)), EncodeDateTime({1980, 1, 1, 0, 0, 0}));
  EXPECT_EQ(ScanTimeOf(LocalTime(1979, 12, 31, 23, 59, 59)), EncodeDateTime({1980, 1, 1, 0, 0, 0}));
  EXPECT_EQ(ScanTimeOf(-100000000), EncodeDateTime({1980, 1, 1, 0, 0, 0}));
  EXPECT_EQ(ScanTimeOf(LocalTime(2107, 12, 31, 23, 59, 59)), EncodeDateTime({2107, 12, 31, 23, 59, 58}));
  EXPECT_EQ(ScanTimeOf(LocalTime(2108, 1, 1, 0, 0, 0)), EncodeDateTime({2107, 12, 31, 23, 59, 58}));
  // Beyond what the calendar functions can hold at all.
  EXPECT_EQ(ScanTimeOf(std::numeric_limits<std::time_t>::max()), EncodeDateTime({2107, 12, 31, 23, 59, 58}));
  EXPECT_EQ(ScanTimeOf(std::numeric_limits<std::time_t>::min()), EncodeDateTime({1980, 1, 1, 0, 0, 0}));
}

TEST_F(ScannerTest, CallbackCancelsTheScan) {
  MakeDir("a");
  MakeDir("a/b");
  MakeFile("a/b/f");
  MakeFile("top");
  int calls = 0;
  EXPECT_FALSE(Scan("D:\\", [&](const ScanProgress&) { return ++calls < 2; }));
  EXPECT_EQ(calls, 2);
  // Stopped on entering a: a itself is in, nothing under it, no root file.
  EXPECT_THAT(Folders("D:\\"), ElementsAre("a"));
  EXPECT_THAT(Files("D:\\"), IsEmpty());
  EXPECT_EQ(index_.Count(), 1u);
}

TEST_F(ScannerTest, UnreadablePathsRecordNothingAndTheWalkGoesOn) {
  MakeFile("plain", "x");
  EXPECT_TRUE(Scan("D:\\missing\\"));
  EXPECT_TRUE(Scan("D:\\plain\\"));
  EXPECT_TRUE(Scan("C:\\"));               // no such drive
  EXPECT_TRUE(ScanFolder(index_, DriveMap({{'E', "", "/dev/sr1", true}}), "E:\\"));  // no medium
  EXPECT_EQ(index_.Count(), 0u);

  MakeDir("locked");
  MakeFile("locked/secret");
  MakeDir("open");
  MakeFile("open/visible");
  MOVRA_SKIP_WITHOUT(kPosixModes);
  ASSERT_TRUE(test::SetMode(dir_ / "locked", 0));
  ASSERT_TRUE(Scan());
  test::SetMode(dir_ / "locked", 0755);
  EXPECT_THAT(Folders("D:\\"), ::testing::UnorderedElementsAre("locked", "open"));
  EXPECT_THAT(Files("D:\\open\\"), ElementsAre("visible"));
  if (!test::RunningAsRoot()) {  // root reads it anyway
    EXPECT_THAT(Files("D:\\locked\\"), IsEmpty());
  }
}

TEST_F(ScannerTest, ScanOfAFolderKeepsItsPathInTheKeys) {
  MakeDir("VIDEO");
  MakeDir("VIDEO/SUB");
  MakeFile("VIDEO/SUB/A.VOB", "vob");
  MakeFile("skipped");
  ASSERT_TRUE(Scan("D:\\VIDEO\\"));
  EXPECT_THAT(Folders("D:\\VIDEO\\"), ElementsAre("SUB"));
  EXPECT_THAT(Files("D:\\VIDEO\\SUB\\"), ElementsAre("A.VOB"));
  EXPECT_EQ(index_.Count(), 2u);
  EXPECT_EQ(index_.RootFolder(), "D:\\VIDEO\\");

  // The same folder reached through Z:, the whole file system.
  MOVRA_SKIP_WITHOUT(kFolderLetters);
  SnapshotIndex whole;
  const std::string key = *DriveMap().DrivePathOf(dir_ / "VIDEO/");
  ASSERT_TRUE(ScanFolder(whole, DriveMap(), key));
  std::vector<FileItem> files;
  whole.ListFiles(key + "SUB\\", files);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(key.substr(0, 3), "Z:\\");
}

TEST_F(ScannerTest, APathWithForwardSlashesScansAsTheSameFolder) {
  MakeDir("VIDEO");
  MakeFile("VIDEO/A.VOB", "vob");
  // The machine's own drives: the test folder is a native path that some drive holds.
  const DriveMap drives = DetectDrives();
  const std::optional<std::string> drive_path = drives.DrivePathOf(dir_ / "VIDEO");
  ASSERT_TRUE(drive_path);
  std::string slashed = *drive_path;
  for (char& c : slashed)
    if (c == '\\') c = '/';
  for (const std::string& source : {dir_ / "VIDEO", *drive_path, slashed, slashed + "/"}) {
    SnapshotIndex index;
    ASSERT_EQ(ScanDisc(index, drives, source), DiscScanResult::kScanned) << source;
    EXPECT_EQ(index.RootFolder(), *drive_path + "\\") << source;
    std::vector<FileItem> files;
    index.ListFiles(*drive_path + "\\", files);
    ASSERT_EQ(files.size(), 1u) << source;
    EXPECT_EQ(files[0].name, "A.VOB");
  }
}

TEST_F(ScannerTest, FoldersTooDeepForAKeyAreRecordedButNotEntered) {
  // "D:\" + 250 bytes + "\" is 254 bytes: still a key; one more level is not.
  const std::string long_name(250, 'n');
  MakeDir(long_name);
  MakeFile(long_name + "/fits");
  MakeDir(long_name + "/deeper");
  MakeFile(long_name + "/deeper/lost");
  MakeFile("after");
  ASSERT_TRUE(Scan());
  EXPECT_THAT(Folders("D:\\"), ElementsAre(long_name));
  EXPECT_THAT(Files("D:\\" + long_name + "\\"), ElementsAre("fits"));
  EXPECT_THAT(Folders("D:\\" + long_name + "\\"), ElementsAre("deeper"));
  EXPECT_THAT(Files("D:\\"), ElementsAre("after"));
  EXPECT_EQ(index_.Count(), 4u);
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

TEST_F(ScannerTest, EachFolderListsLikeNtfsAndNamesInGbkStayGbk) {
  MOVRA_SKIP_WITHOUT(kByteNames);
  // Listed as NTFS would: ASCII letters without case ('_' after every letter,
  // '[' after Z), other bytes by value, a GBK trail byte never folded.
  for (const char* name : {"beta", "_x", "\xE5\x85\x89", "Alpha", "a1"}) MakeDir(name);
  // On disk in GBK, as unpacked from an archive made on Chinese Windows.
  for (const char* name : {"[x]", "Zed.txt", "apple.txt", "\x81\x61", "\x81\x42", "bad\xFF", "a|\xB9\x7C"})
    MakeFile(name);
  ASSERT_TRUE(Scan());
  EXPECT_THAT(Folders("D:\\"), ElementsAre("a1", "Alpha", "beta", "_x", "\xB9\xE2"));
  EXPECT_THAT(Files("D:\\"), ElementsAre("apple.txt", "a_\xB9\x7C", "bad?", "Zed.txt", "[x]", "\x81\x42", "\x81\x61"));
}

TEST_F(ScannerTest, EntriesOfAFolderThatCannotBeEnteredAreKeptByName) {
  MakeDir("listed");
  MakeDir("listed/sub");
  MakeFile("listed/one", "12345");
  SetTime("listed", LocalTime(2004, 5, 6, 7, 8, 10));
  MOVRA_SKIP_WITHOUT(kPosixModes);
  ASSERT_TRUE(test::SetMode(dir_ / "listed", 0444));
  bool scanned = false;
  {
    const test::FolderPermissionsObeyed obeyed;
    scanned = Scan();
  }
  test::SetMode(dir_ / "listed", 0755);
  ASSERT_TRUE(scanned);
  EXPECT_THAT(Folders("D:\\listed\\"), ElementsAre("sub"));
  const FileItem one = File("D:\\listed\\", "one");
  EXPECT_EQ(one.size, 0);
  EXPECT_EQ(one.modified, EncodeDateTime({2004, 5, 6, 7, 8, 10}));
}

TEST_F(ScannerTest, TheWalkStaysOutOfOtherDrivesAndPseudoFileSystems) {
  MOVRA_SKIP_WITHOUT(kLinuxDevices);
  MakeDir("home");
  MakeFile("home/kept");
  MakeDir("disc");
  MakeFile("disc/on-the-disc");
  MakeDir("proc-like");
  MakeFile("proc-like/status");
  // An automount point in use is walked: the share mounted over it is what lies there.
  MakeDir("auto");
  MakeFile("auto/on-the-share");
  test::WriteBytes(dir_ / "mountinfo", "24 1 0:9991 / " + (dir_ / "proc-like") + " rw - proc proc rw\n" +
                                           "25 1 0:9992 / " + (dir_ / "auto") + " rw - autofs systemd-1 rw\n" +
                                           "26 25 0:9993 / " + (dir_ / "auto") + " rw - nfs4 server:/export rw\n");
  const DriveMap drives({{'D', dir_ / "disc", "", true}}, dir_ / "mountinfo");
  const std::string root = *drives.DrivePathOf(dir_.path()) + "\\";
  ASSERT_TRUE(ScanFolder(index_, drives, root));
  EXPECT_THAT(Folders(root), ElementsAre("auto", "disc", "home", "proc-like"));
  EXPECT_THAT(Files(root + "auto\\"), ElementsAre("on-the-share"));
  EXPECT_THAT(Files(root + "home\\"), ElementsAre("kept"));
  EXPECT_THAT(Files(root + "disc\\"), IsEmpty());
  EXPECT_THAT(Files(root + "proc-like\\"), IsEmpty());

  // The system's own /proc records nothing at all.
  SnapshotIndex proc;
  ASSERT_TRUE(ScanFolder(proc, DriveMap(), "Z:\\proc\\"));
  EXPECT_TRUE(proc.Empty());
}

TEST_F(ScannerTest, AMountPointGbkCannotHoldIsScannedWhole) {
  MOVRA_SKIP_WITHOUT(kLinuxDevices);
  const std::string mount = dir_ / "M\xC3\xBAsica_\xC3\xB1";
  MakeDir("M\xC3\xBAsica_\xC3\xB1");
  MakeFile("M\xC3\xBAsica_\xC3\xB1/VIDEO/A.VOB", "vob");
  test::WriteBytes(dir_ / "mountinfo", "40 1 8:17 / " + mount + " rw - vfat /dev/sdb1 rw\n");
  const DriveMap drives({}, dir_ / "mountinfo");
  ASSERT_EQ(drives.DrivePathOf(mount + "/VIDEO"), "D:\\VIDEO");
  ASSERT_TRUE(ScanFolder(index_, drives, "D:\\"));
  EXPECT_THAT(Folders("D:\\"), ElementsAre("VIDEO"));
  EXPECT_THAT(Files("D:\\VIDEO\\"), ElementsAre("A.VOB"));
}

// What a whole scan holds, less every entry whose name, or whose folder's
// name at any depth below the root, one of patterns matches.
std::vector<std::string> LinesLeftAfter(const SnapshotIndex& whole, const std::string& root,
                                        const std::vector<std::string>& patterns) {
  std::vector<NameMatcher> matchers;
  for (const std::string& p : patterns) matchers.emplace_back(p, MatchOptions{});
  auto excluded = [&](std::string_view name) {
    for (NameMatcher& m : matchers)
      if (m.Matches(name)) return true;
    return false;
  };
  std::vector<std::string> lines;
  for (const SnapshotEntryView e : whole) {
    bool out = excluded(e.name);
    std::string_view below(e.key);
    below.remove_prefix(root.size());
    for (std::size_t at; !out && (at = below.find('\\')) != std::string_view::npos; below.remove_prefix(at + 1)) {
      out = excluded(below.substr(0, at));
    }
    if (!out) lines.push_back(std::string(e.key) + "|" + std::string(e.name));
  }
  return lines;
}

TEST_F(ScannerTest, ExcludedNamesAndFoldersWithTheirSubtreesAreLeftOut) {
  MakeDir("src");
  MakeDir("src/node_modules");
  MakeDir("src/node_modules/pkg");
  MakeFile("src/node_modules/pkg/index.js");
  MakeFile("src/main.cpp");
  MakeFile("src/main.TMP");
  MakeFile("Thumbs.db");
  MakeDir("\xE4\xB8\xB4\xE6\x97\xB6");  // 临时
  MakeFile("\xE4\xB8\xB4\xE6\x97\xB6/a.txt");
  MakeFile("keep.txt");
  ASSERT_TRUE(Scan());
  const SnapshotIndex whole = index_;
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"*.tmp"},
      {"node_modules", "thumbs.DB"},
      {"\xC1\xD9\xCA\xB1"},  // 临时 in GBK
      {"src"},
      {"*"},
  };
  for (const std::vector<std::string>& patterns : cases) {
    SCOPED_TRACE(patterns.empty() ? std::string("none") : patterns.front());
    index_.Clear();
    ASSERT_TRUE(ScanFolder(index_, drives_, "D:\\", {}, ScanExclusions(patterns)));
    std::vector<std::string> lines;
    for (const SnapshotEntryView e : index_) lines.push_back(std::string(e.key) + "|" + std::string(e.name));
    EXPECT_EQ(lines, LinesLeftAfter(whole, "D:\\", patterns));
  }
}

TEST(ScanExclusionsTest, FieldTextSplitsAtSemicolonsAndLineBreaks) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"", {}},
      {" ; ;", {}},
      {"*.tmp", {"*.tmp"}},
      {" *.tmp ;Thumbs.db\r\nnode_modules\n", {"*.tmp", "Thumbs.db", "node_modules"}},
      {"My Documents; a b", {"My Documents", "a b"}},
  };
  for (const auto& [text, patterns] : cases) EXPECT_EQ(SplitExclusionText(text), patterns) << text;
  EXPECT_EQ(SplitExclusionText(JoinExclusionText({"a", "b c"})), (std::vector<std::string>{"a", "b c"}));
  EXPECT_TRUE(ScanExclusions({"", ""}).Empty());
}

}  // namespace
}  // namespace movra
