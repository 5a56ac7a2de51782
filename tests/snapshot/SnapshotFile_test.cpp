#include "snapshot/SnapshotFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using test::FailingFileSystem;
using test::PathExists;
using test::ReadBytes;
using test::ScopedFileSystem;
using test::TempDir;
using test::WriteBytes;

const DateTime kMorning = EncodeDateTime({2006, 3, 3, 9, 7, 2});
const DateTime kMidnight = EncodeDateTime({2006, 3, 3, 0, 0, 0});
const DateTime kEvening = EncodeDateTime({1999, 12, 31, 23, 59, 59});

// GBK characters whose second byte is a backslash, a bar, '[' or ']'.
const std::string kTrailBackslash = "\x81\x5C";
const std::string kTrailBar = "\x81\x7C";
const std::string kTrailBrackets = "\x81\x5B\x81\x5D";

struct Row {
  std::string key, name;
  DateTime modified;
  bool isFile;
  std::int64_t size;
  bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(const SnapshotIndex& index) {
  std::vector<Row> rows;
  for (const SnapshotEntryView e : index)
    rows.push_back({std::string(e.key), std::string(e.name), e.modified, e.isFile, e.size});
  return rows;
}

void PrintTo(const Row& r, std::ostream* os) {
  *os << r.key << " | " << r.name << " t=" << r.modified << " file=" << r.isFile << " size=" << r.size;
}

TEST(SnapshotFile, WritesTheLineLayoutByteForByte) {
  SnapshotIndex index;
  index.AddFolder("E:\\", "VIDEO", kMidnight, 0);
  index.AddFile("E:\\VIDEO\\", "A.VOB", kMorning, 1048576);
  index.AddFile("E:\\VIDEO\\", "A[1].TXT", kEvening, -5);
  EXPECT_EQ(SnapshotText(index),
            "E:\\VIDEO\\A.VOB[1048576]2006/3/3 9:07:02\r\n"
            "E:\\VIDEO\\A[1].TXT[-5]1999/12/31 23:59:59\r\n"
            "E:\\|VIDEO[]2006/3/3\r\n");
  EXPECT_EQ(SnapshotText(SnapshotIndex()), "");
}

TEST(SnapshotFile, TimeTextsAreThoseOfTheDateTimeConversion) {
  // The writer formats times itself for speed; it must agree with the
  // conversion the reader and other installations rely on, including values
  // that round up to the next second or day.
  std::vector<DateTime> values = {0, 0.5, 1.0 / 86400, 38000.99999999, 38000.999994,
                                  EncodeDateTime({2000, 2, 29, 12, 0, 0}), 2958465.99998, -1.25};
  for (int i = 0; i < 2000; ++i) values.push_back(36000 + i * 3.7193 + i / 7919.0);
  for (const DateTime v : values) {
    SnapshotIndex index;
    index.AddFolder("E:\\", "N", v, 0);
    EXPECT_EQ(SnapshotText(index), "E:\\|N[]" + DateTimeToText(v) + "\r\n") << v;
  }
}

TEST(SnapshotFile, RoundTripKeepsEntriesOrderAndAwkwardNames) {
  TempDir dir;
  SnapshotIndex index;
  index.AddFolder("E:\\", "VIDEO", kMidnight, 0);
  index.AddFolder("E:\\", "WITH SIZE", kMorning, 4096);  // a folder's size is not stored
  index.AddFile("E:\\VIDEO\\", "A.VOB", kMorning, 1048576);
  index.AddFile("E:\\VIDEO\\", "A[1].TXT", kEvening, 5);
  index.AddFile("E:\\VIDEO\\", "[]", kEvening, 0);
  index.AddFile("E:\\VIDEO\\", "A.VOB", kEvening, 7);  // duplicate kept
  index.AddFolder("E:\\" + kTrailBackslash + "\\", "x" + kTrailBar + "y", kMorning, 0);
  index.AddFile("E:\\" + kTrailBackslash + "\\", kTrailBrackets + ".TXT", kMorning, 12);
  index.AddFile("E:\\" + kTrailBackslash + "\\", kTrailBar, kMorning, 13);
  index.AddFile("E:\\", "BIG.ISO", kMorning, 3'000'000'000);
  index.AddFile("E:\\", "HUGE.IMG", kMorning, 9'000'000'000'000);
  index.AddFile("E:\\", "EMPTY", kMorning, 0);

  // A GBK disc name joins the native folder as UTF-8.
  const std::string path = NativeJoin(dir.path() + "/", "\xB9\xE2\xC5\xCC.cdg");
  ASSERT_TRUE(WriteSnapshot(index, path));
  EXPECT_TRUE(PathExists(dir.path() + "/光盘.cdg"));

  SnapshotIndex back;
  back.AddFile("OLD:\\", "previous", 0, 0);
  ASSERT_TRUE(ReadSnapshot(back, path));
  std::vector<Row> expected = Rows(index);
  for (Row& r : expected)
    if (!r.isFile) r.size = 0;
  EXPECT_EQ(Rows(back), expected);
  // Writing what was read gives the same bytes.
  EXPECT_EQ(SnapshotText(back), ReadBytes(dir.path() + "/光盘.cdg"));
}

TEST(SnapshotFile, LineEndsEndOfDataMarkAndLastLine) {
  const std::string crlf =
      "E:\\VIDEO\\A.VOB[1048576]2006/3/3 9:07:02\r\n"
      "E:\\|VIDEO[]2006/3/3\r\n";
  SnapshotIndex reference;
  ASSERT_TRUE(ParseSnapshot(reference, crlf));
  ASSERT_EQ(reference.Count(), 2u);
  EXPECT_EQ(Rows(reference)[0].modified, kMorning);
  EXPECT_EQ(Rows(reference)[1].modified, kMidnight);

  struct Case {
    const char* what;
    std::string text;
  };
  const std::vector<Case> same = {
      {"LF only", "E:\\VIDEO\\A.VOB[1048576]2006/3/3 9:07:02\nE:\\|VIDEO[]2006/3/3\n"},
      {"no line end at the end", "E:\\VIDEO\\A.VOB[1048576]2006/3/3 9:07:02\r\nE:\\|VIDEO[]2006/3/3"},
      {"0x1A ends the data", crlf + "\x1A" + "garbage without brackets\r\n\r\n"},
      {"0x1A right after the last line", crlf + "\x1A"},
  };
  for (const Case& c : same) {
    SnapshotIndex index;
    EXPECT_TRUE(ParseSnapshot(index, c.text)) << c.what;
    EXPECT_EQ(Rows(index), Rows(reference)) << c.what;
  }

  // A CR that is not followed by LF belongs to the line.
  SnapshotIndex cr;
  ASSERT_TRUE(ParseSnapshot(cr, "E:\\A\rB[1]2006/3/3\r\n"));
  EXPECT_EQ(Rows(cr), (std::vector<Row>{{"E:\\", "A\rB", kMidnight, true, 1}}));

  SnapshotIndex empty;
  empty.AddFile("E:\\", "x", 0, 0);
  EXPECT_TRUE(ParseSnapshot(empty, ""));
  EXPECT_EQ(empty.Count(), 0u);
}

TEST(SnapshotFile, BadLineStopsReadingAndKeepsWhatCameBefore) {
  const std::string good = "E:\\A.TXT[1]2006/3/3\r\nE:\\B.TXT[2]2006/3/3\r\n";
  const std::vector<std::pair<const char*, std::string>> bad = {
      {"trailing empty line", "\r\n"},
      {"empty line in the middle", "\r\nE:\\C.TXT[3]2006/3/3\r\n"},
      {"time that is no time", "E:\\C.TXT[3]yesterday\r\n"},
      {"no closing bracket", "E:\\C.TXT 2006/3/3\r\n"},
      {"CR before CR LF", "E:\\C.TXT[3]2006/3/3\r\r\n"},
  };
  for (const auto& [what, tail] : bad) {
    SnapshotIndex index;
    EXPECT_FALSE(ParseSnapshot(index, good + tail)) << what;
    EXPECT_EQ(index.Count(), 2u) << what;
  }
}

TEST(SnapshotFile, OverlongOrEmptyFieldsAreSkippedAndReadingGoesOn) {
  const std::string text = "E:\\" + std::string(256, 'n') + "[1]2006/3/3\r\n" +  // name too long
                           "E:\\[2]2006/3/3\r\n" +                               // empty name
                           "NOKEY[3]2006/3/3\r\n" +                              // no key
                           "E:\\OK[4]2006/3/3\r\n";
  SnapshotIndex index;
  EXPECT_TRUE(ParseSnapshot(index, text));
  EXPECT_EQ(Rows(index), (std::vector<Row>{{"E:\\", "OK", kMidnight, true, 4}}));
}

TEST(SnapshotFile, SizesAreSixtyFourBitAndOldWrappedSizesAreRestored) {
  SnapshotIndex index;
  ASSERT_TRUE(ParseSnapshot(index,
                            "E:\\NEW.ISO[3000000000]2006/3/3\r\n"
                            "E:\\OLD.ISO[-1294967296]2006/3/3\r\n"  // 3,000,000,000 wrapped
                            "E:\\EDGE.ISO[-2147483648]2006/3/3\r\n"
                            "E:\\NOSIZE[]2006/3/3\r\n"
                            "E:\\|DIR[]2006/3/3\r\n"));
  std::vector<FileItem> files;
  ASSERT_TRUE(index.ListFiles("E:\\", files));
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0].size, 3'000'000'000);
  EXPECT_EQ(files[1].size, 3'000'000'000);
  EXPECT_EQ(files[2].size, 2'147'483'648);
  EXPECT_EQ(files[3].size, 0);
  EXPECT_EQ(SnapshotText(index).substr(0, 32), "E:\\NEW.ISO[3000000000]2006/3/3\r\n");
}

TEST(SnapshotFile, MissingOrUnreadableFileLeavesTheIndexAlone) {
  TempDir dir;
  SnapshotIndex index;
  index.AddFile("E:\\", "LOADED", 0, 1);
  EXPECT_FALSE(ReadSnapshot(index, dir / "missing.cdg"));
  EXPECT_EQ(index.Count(), 1u);

  WriteBytes(dir / "there.cdg", "F:\\B[1]2006/3/3\r\n");
  FailingFileSystem failing;
  failing.fail_read = true;
  {
    ScopedFileSystem scope(&failing);
    EXPECT_FALSE(ReadSnapshot(index, dir / "there.cdg"));
  }
  EXPECT_EQ(Rows(index), (std::vector<Row>{{"E:\\", "LOADED", 0, true, 1}}));
  ASSERT_TRUE(ReadSnapshot(index, dir / "there.cdg"));
  EXPECT_EQ(Rows(index), (std::vector<Row>{{"F:\\", "B", kMidnight, true, 1}}));
}

TEST(SnapshotFile, FailedWriteReportsFalseAndLeavesNoFile) {
  TempDir dir;
  SnapshotIndex index;
  index.AddFile("E:\\", "A", kMorning, 1);

  FailingFileSystem failing;
  failing.fail_write = true;
  {
    ScopedFileSystem scope(&failing);
    EXPECT_FALSE(WriteSnapshot(index, dir / "a.cdg"));
  }
  EXPECT_FALSE(PathExists(dir / "a.cdg"));
  EXPECT_FALSE(WriteSnapshot(index, dir / "no/such/folder/a.cdg"));
  EXPECT_FALSE(PathExists(dir / "no"));

  // Overwriting an existing snapshot replaces it completely.
  WriteBytes(dir / "b.cdg", std::string(4096, 'x'));
  ASSERT_TRUE(WriteSnapshot(index, dir / "b.cdg"));
  EXPECT_EQ(ReadBytes(dir / "b.cdg"), "E:\\A[1]2006/3/3 9:07:02\r\n");
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

TEST(SnapshotFile, LinesStayReadableWhateverTheNamesHold) {
  // Names and keys that came from a damaged file or elsewhere: markers of
  // their own, a line feed, the end-of-data byte, a lead byte at the end.
  SnapshotIndex index;
  index.AddFolder("|\\", "\\]200/1/1", kMorning, 0);
  index.AddFile("E:\\a|b\\", "x\\y|z", kMorning, 5);
  index.AddFile("E:\\", "n\nl\x1A" "e\xB9", kMorning, 6);
  index.AddFile("E:\\", "ok" + kTrailBackslash + kTrailBar, kMorning, 7);
  const std::string text = SnapshotText(index);
  SnapshotIndex back;
  ASSERT_TRUE(ParseSnapshot(back, text));
  EXPECT_EQ(Rows(back), (std::vector<Row>{{"|\\", "_]200/1/1", kMorning, false, 0},
                                          {"E:\\a_b\\", "x_y_z", kMorning, true, 5},
                                          {"E:\\", "n_l_e_", kMorning, true, 6},
                                          {"E:\\", "ok" + kTrailBackslash + kTrailBar, kMorning, true, 7}}));
  EXPECT_EQ(SnapshotText(back), text);
}

}  // namespace
}  // namespace movra
