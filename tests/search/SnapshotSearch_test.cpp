#include "search/SnapshotSearch.h"

#include <gtest/gtest.h>

#include <random>

#include "snapshot/LineFields.h"

#include "support/TempDir.h"

namespace movra {
namespace {

using test::TempDir;
using test::WriteBytes;

const std::string kFilm = "\xB5\xE7\xD3\xB0";  // 电影
const std::string kTime = "2006/3/3 9:07:02";

// A snapshot file line with its CR LF.
std::string FileLine(const std::string& folder, const std::string& name, long long size, const std::string& time = kTime) {
  return folder + name + "[" + std::to_string(size) + "]" + time + "\r\n";
}
std::string FolderLine(const std::string& folder, const std::string& name, const std::string& time = kTime) {
  return folder + "|" + name + "[]" + time + "\r\n";
}

class SnapshotSearchTest : public ::testing::Test {
 protected:
  void Write(const std::string& disc, const std::string& content) { WriteBytes(data_ + disc + ".cdg", content); }

  // One row as "kind name|folder|size".
  std::string Row(size_t index) const {
    const SearchRow& row = results_[index];
    const char kind = row.kind == RowKind::kDisc ? 'D' : row.kind == RowKind::kFile ? 'F' : 'd';
    return std::string(1, kind) + " " + std::string(results_.Name(row)) + "|" + std::string(results_.Folder(row)) +
           "|" + std::to_string(row.size);
  }
  std::vector<std::string> Rows() const {
    std::vector<std::string> rows;
    for (size_t i = 0; i < results_.size(); ++i) rows.push_back(Row(i));
    return rows;
  }

  SearchEnd Search(std::string_view text, const std::vector<DiscListEntry>& discs, MatchOptions options = {}) {
    NameMatcher matcher(text, options);
    return SearchDiscs(data_, discs, matcher, results_, [this](const SearchProgress& progress) {
      reports_.push_back(*progress.report);
      return true;
    });
  }

  TempDir dir_;
  std::string data_ = dir_.path() + "/CDROM/";
  SearchResults results_;
  std::vector<DiscReport> reports_;
};

TEST_F(SnapshotSearchTest, EachDiscGivesItsHeaderThenItsMatchesInFileOrder) {
  // The last line has no backslash, so its folder is empty.
  Write("DVD_01", FileLine("E:\\VIDEO\\", "a.mp3", 1048576) + FileLine("E:\\VIDEO\\", "B.MP3.bak", -5) +
                      FileLine("E:\\", "readme.txt", 12) + FolderLine("E:\\", "VIDEO") + FolderLine("E:\\", "MP3s") +
                      FileLine("", "nofolder.mp3", 1));
  Write("DVD_02", FileLine("E:\\", "nothing.txt", 1));
  const std::vector<DiscListEntry> discs = {{kFilm + "\\", "DVD_01"}, {kFilm + "\\", "DVD_02"}};

  EXPECT_EQ(Search("*.mp3", discs), SearchEnd::kCompleted);
  const std::vector<std::string> expected = {
      "D [ " + kFilm + "\\DVD_01 ]||0",
      "F a.mp3|E:\\VIDEO\\|1048576",
      "F B.MP3.bak|E:\\VIDEO\\|4294967291",  // an older file's wrapped size, restored as on reading
      "F nofolder.mp3||1",
      "D [ " + kFilm + "\\DVD_02 ]||0",
  };
  EXPECT_EQ(Rows(), expected);
  EXPECT_DOUBLE_EQ(results_[1].modified, EncodeDateTime({2006, 3, 3, 9, 7, 2}));
  ASSERT_EQ(reports_.size(), 2u);
  EXPECT_EQ(reports_[0].outcome, DiscOutcome::kSearched);
  EXPECT_EQ(reports_[0].snapshot_path, data_ + "DVD_01.cdg");
}

TEST_F(SnapshotSearchTest, FoldersMatchByTheirOwnNameWithSizeZero) {
  Write("D", FolderLine("E:\\", "MP3s") + FileLine("E:\\MP3s\\", "x", 9));
  EXPECT_EQ(Search("mp3", {{"", "D"}}, {true, false}), SearchEnd::kCompleted);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"D [ D ]||0"}));  // case-sensitive: no match
  results_.Clear();
  EXPECT_EQ(Search("mp3", {{"", "D"}}), SearchEnd::kCompleted);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"D [ D ]||0", "d MP3s|E:\\|0"}));
}

TEST_F(SnapshotSearchTest, MissingSnapshotIsReportedAndSkipped) {
  Write("B", FileLine("E:\\", "hit", 1));
  EXPECT_EQ(Search("hit", {{"", "A"}, {"", "B"}}), SearchEnd::kCompleted);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"D [ B ]||0", "F hit|E:\\|1"}));
  ASSERT_EQ(reports_.size(), 2u);
  EXPECT_EQ(reports_[0].outcome, DiscOutcome::kMissing);
  EXPECT_EQ(reports_[0].snapshot_path, data_ + "A.cdg");

  test::FailingFileSystem failing;
  failing.fail_read = true;
  test::ScopedFileSystem scoped(&failing);
  NameMatcher matcher("hit", {});
  EXPECT_EQ(SearchDisc(data_, {"", "B"}, matcher, results_).outcome, DiscOutcome::kMissing);
}

TEST_F(SnapshotSearchTest, LongLinesAreSearchedAndLinesMayEndInManyWays) {
  const std::string long_name = std::string(3000, 'x') + "hit";
  Write("D", FileLine("E:\\", long_name, 1) + FileLine("E:\\", "hit1", 2) + "E:\\hit2[3]" + kTime + "\n" +
                 "E:\\hit3[4]" + kTime);  // LF alone, then no line end at all
  EXPECT_EQ(Search("hit", {{"", "D"}}), SearchEnd::kCompleted);
  ASSERT_EQ(results_.size(), 5u);
  EXPECT_EQ(results_.Name(results_[1]), long_name);
  EXPECT_EQ(Row(2), "F hit1|E:\\|2");
  EXPECT_EQ(Row(3), "F hit2|E:\\|3");
  EXPECT_EQ(Row(4), "F hit3|E:\\|4");
}

TEST_F(SnapshotSearchTest, ByteOneAEndsTheData) {
  Write("D", FileLine("E:\\", "hit1", 1) + "\x1A" + FileLine("E:\\", "hit2", 2));
  EXPECT_EQ(Search("hit", {{"", "D"}}), SearchEnd::kCompleted);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"D [ D ]||0", "F hit1|E:\\|1"}));
}

TEST_F(SnapshotSearchTest, MatchingLineWithoutADateTimeStopsTheWholeSearch) {
  Write("A", FileLine("E:\\", "other", 1, "never") + FileLine("E:\\", "hit1", 1) + FileLine("E:\\", "hit2", 2, "never") +
                 FileLine("E:\\", "hit3", 3));
  Write("B", FileLine("E:\\", "hit4", 4));
  EXPECT_EQ(Search("hit", {{"", "A"}, {"", "B"}}), SearchEnd::kStoppedAtBadTime);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"D [ A ]||0", "F hit1|E:\\|1"}));
  ASSERT_EQ(reports_.size(), 1u);
  EXPECT_EQ(reports_[0].outcome, DiscOutcome::kBadTime);
  // The user reads which disc and which text, in Chinese, never an exception's English.
  EXPECT_EQ(reports_[0].error, "\xB9\xE2\xC5\xCC(A)\xB5\xC4\xCB\xF7\xD2\xFD\xD6\xD0\xD3\xD0\xCE\xDE\xB7\xA8"
                               "\xCA\xB6\xB1\xF0\xB5\xC4\xCA\xB1\xBC\xE4\xA1\xB0never\xA1\xB1\xA3\xAC\xCB\xD1"
                               "\xCB\xF7\xD2\xD1\xCD\xA3\xD6\xB9\xA3\xA1");
}

TEST_F(SnapshotSearchTest, CallbackCanCancelBetweenDiscs) {
  Write("A", FileLine("E:\\", "hit", 1));
  Write("B", FileLine("E:\\", "hit", 1));
  NameMatcher matcher("hit", {});
  size_t calls = 0;
  const SearchEnd end = SearchDiscs(data_, {{"", "A"}, {"", "B"}}, matcher, results_, [&](const SearchProgress& p) {
    ++calls;
    EXPECT_EQ(p.count, 2u);
    EXPECT_EQ(p.disc->disc_name, "A");
    return false;
  });
  EXPECT_EQ(end, SearchEnd::kCancelled);
  EXPECT_EQ(calls, 1u);
  EXPECT_EQ(results_.size(), 2u);
}

TEST_F(SnapshotSearchTest, HeaderShowsTheDiscNameEvenWhenItHoldsDotCdg) {
  Write("a.cdgb", FileLine("E:\\", "hit", 1));
  EXPECT_EQ(Search("hit", {{"", "a.cdgb"}}), SearchEnd::kCompleted);
  ASSERT_FALSE(results_.empty());
  EXPECT_EQ(results_.Name(results_[0]), "[ a.cdgb ]");
}

TEST_F(SnapshotSearchTest, RowsOfOneFolderShareItsTextAndKeepTheirOwnNames) {
  Write("D", FileLine("E:\\A\\", "hit1", 1) + FileLine("E:\\A\\", "hit2", 2) + FileLine("E:\\B\\", "hit3", 3) +
                 FileLine("E:\\A\\", "hit4", 4));
  EXPECT_EQ(Search("hit", {{"", "D"}}), SearchEnd::kCompleted);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"D [ D ]||0", "F hit1|E:\\A\\|1", "F hit2|E:\\A\\|2",
                                              "F hit3|E:\\B\\|3", "F hit4|E:\\A\\|4"}));
  EXPECT_EQ(results_[1].folder, results_[2].folder);
}

TEST_F(SnapshotSearchTest, TextFoundOutsideTheNameOrInsideAChineseCharacterIsNoMatch) {
  const std::string lao = "\xB0\x41";  // 癆: its second byte is 'A'
  Write("D", FileLine("E:\\LIVE\\", "x", 1) + FileLine("E:\\", lao, 2) + FileLine("E:\\", "ALIVE", 3) +
                 FileLine("E:\\", "a" + lao, 4));
  EXPECT_EQ(Search("live", {{"", "D"}}), SearchEnd::kCompleted);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"D [ D ]||0", "F ALIVE|E:\\|3"}));
  results_.Clear();
  EXPECT_EQ(Search("a", {{"", "D"}}), SearchEnd::kCompleted);
  EXPECT_EQ(Rows(), (std::vector<std::string>{"D [ D ]||0", "F ALIVE|E:\\|3", "F a" + lao + "|E:\\|4"}));
  results_.Clear();
  // A search text holding such a character still finds it, whatever the case option.
  EXPECT_EQ(Search(lao, {{"", "D"}}), SearchEnd::kCompleted);
  EXPECT_EQ(results_.size(), 3u);
  results_.Clear();
  EXPECT_EQ(Search("*" + lao, {{"", "D"}}, {true, false}), SearchEnd::kCompleted);
  EXPECT_EQ(results_.size(), 3u);
}

// Every line taken apart and matched, for comparison with the search.
std::vector<std::string> MatchEveryLine(const std::string& content, std::string_view text, MatchOptions options) {
  NameMatcher matcher(text, options);
  std::vector<std::string> names;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string_view line(content.data() + start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (matcher.Matches(LineName(line))) names.emplace_back(LineName(line));
    start = end + 1;
  }
  return names;
}

TEST_F(SnapshotSearchTest, FindsWhatMatchingEveryLineFindsOnRandomSnapshots) {
  std::mt19937 random(5);
  const std::string name_bytes = "abAB.*?\xB0\x41";
  const std::string text_bytes = "abAB.*?\xB0\x41";
  for (int round = 0; round < 300; ++round) {
    std::string content;
    const int lines = static_cast<int>(random() % 12);
    for (int i = 0; i < lines; ++i) {
      std::string folder = "E:\\", name;
      for (int k = random() % 4; k > 0; --k) folder += name_bytes[random() % name_bytes.size()];
      folder += "\\";
      for (int k = random() % 6; k > 0; --k) name += name_bytes[random() % name_bytes.size()];
      content += random() % 4 == 0 ? FolderLine(folder, name) : FileLine(folder, name, i);
    }
    if (!content.empty() && random() % 2 == 0) content.resize(content.size() - 2);  // no final line end
    Write("R", content);
    std::string text;
    for (int k = 1 + random() % 4; k > 0; --k) text += text_bytes[random() % text_bytes.size()];
    const MatchOptions options{random() % 2 == 0, random() % 3 == 0};

    results_.Clear();
    ASSERT_EQ(Search(text, {{"", "R"}}, options), SearchEnd::kCompleted);
    std::vector<std::string> found;
    for (size_t i = 1; i < results_.size(); ++i) found.emplace_back(results_.Name(results_[i]));
    ASSERT_EQ(found, MatchEveryLine(content, text, options)) << "round " << round << " text " << text;
  }
}

}  // namespace
}  // namespace movra
