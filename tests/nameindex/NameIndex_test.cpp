#include "nameindex/NameIndex.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "nameindex/IndexSegment.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using test::TempDir;
using test::WriteBytes;

// Name pieces that try the folding and the taking apart of lines: letters
// of both cases, wildcard and bracket bytes, and double-byte characters
// whose second byte is a letter, a backslash, a bar or a bracket.
const char* const kPieces[] = {"a",  "B",  "ab", "AB", "Live", "LIVE", "x.mp3", ".MP3", "?",        "*", "[1]",
                               "]",  " ",  "_",  "7",  "\xB5\xE7", "\xD3\xB0", "\x81" "A", "\x81" "a", "\x95\\",
                               "\x9F|", "\x88[", "\xC6\xDF", "\x81" "B" "\x81" "b"};

std::string RandomName(std::mt19937& random) {
  std::string name;
  const int pieces = 1 + static_cast<int>(random() % 5);
  for (int i = 0; i < pieces; ++i) name += kPieces[random() % std::size(kPieces)];
  return name;
}

// A snapshot of a few folders; now and then a line without a date-time.
std::string RandomSnapshot(std::mt19937& random, int lines, bool bad_times) {
  std::string text;
  for (int i = 0; i < lines; ++i) {
    const std::string folder = "E:\\" + RandomName(random) + "\\";
    const std::string time = bad_times && random() % 97 == 0 ? "yesterday" : "2006/3/3 9:07:02";
    if (random() % 4 == 0) text += folder + "|" + RandomName(random) + "[]" + time + "\r\n";
    else text += folder + RandomName(random) + "[" + std::to_string(random() % 100000) + "]" + time + "\r\n";
  }
  return text;
}

class NameIndexTest : public ::testing::Test {
 protected:
  NameIndexTest() { index_.SetRecentWindow(0); }

  void Write(const std::string& disc, const std::string& content) { WriteBytes(data_ + disc + ".cdg", content); }

  // Every row and report of one search, as text.
  std::vector<std::string> Run(std::string_view text, MatchOptions options, NameIndex* index,
                               std::vector<std::string>* stale = nullptr) {
    NameMatcher matcher(text, options);
    SearchResults results;
    std::vector<std::string> out;
    const SearchEnd end = SearchDiscs(data_, discs_, matcher, results, [&](const SearchProgress& progress) {
      out.push_back("report " + std::to_string(static_cast<int>(progress.report->outcome)) + " " +
                    progress.report->snapshot_path + " " + progress.report->error);
      return true;
    }, index, stale);
    out.push_back("end " + std::to_string(static_cast<int>(end)));
    for (size_t i = 0; i < results.size(); ++i) {
      const SearchRow& row = results[i];
      out.push_back(std::to_string(static_cast<int>(row.kind)) + " " + std::string(SearchResults::Name(row)) + "|" +
                    std::string(SearchResults::Folder(row)) + "|" + std::to_string(row.size) + "|" +
                    std::to_string(row.modified));
    }
    return out;
  }

  // Checks that the indexed search gives the linear search's rows and
  // reports and that it answered every disc from the index.
  void ExpectSameAsLinear(std::string_view text, MatchOptions options, bool expect_indexed = true) {
    std::vector<std::string> stale;
    EXPECT_EQ(Run(text, options, &index_, &stale), Run(text, options, nullptr))
        << text << " case " << options.case_sensitive << " literal " << options.literal;
    if (expect_indexed) {
      EXPECT_TRUE(stale.empty()) << text;
    }
  }

  TempDir dir_;
  std::string data_ = dir_.path() + "/CDROM/";
  NameIndex index_{data_};
  std::vector<DiscListEntry> discs_;
};

TEST_F(NameIndexTest, RandomSearchesGiveTheLinearSearchsRowsAndReports) {
  std::mt19937 random(16);
  for (int d = 0; d < 8; ++d) {
    const std::string name = "DISC" + std::to_string(d);
    // Small and large snapshots, so that lists get skip entries, lines cross
    // blocks and one disc has more blocks than a list part holds.
    std::string text = RandomSnapshot(random, d == 6 ? 15000 : d % 3 == 0 ? 3000 : 150, d == 2);
    if (d == 3) text += "E:\\a\\after end mark Live[1]2006/3/3\r\n\x1A" "E:\\live hidden[1]2006/3/3\r\n";
    if (d == 4) text += "\r\nE:\\last line Live[5]2006/3/3";  // an empty line, then one without CR LF
    if (d == 5) text.insert(4090, "E:\\" + std::string(9000, 'x') + " Live.avi[3]2006/3/3\r\n");  // longer than a block
    Write(name, text);
    discs_.push_back({"cat\\", name});
  }
  discs_.push_back({"", "GONE"});  // catalogued, but without a snapshot
  ASSERT_TRUE(index_.UpdateAll(nullptr));
  // One disc changed since: it gets a segment of its own.
  Write("DISC1", RandomSnapshot(random, 400, false));
  EXPECT_EQ(index_.UpdateDisc("DISC1"), SegmentUpdate::kBuilt);
  const std::vector<DiscListEntry> all = discs_;

  for (int q = 0; q < 300; ++q) {
    // A piece of a random name, sometimes with wildcards or another case.
    std::string text = RandomName(random);
    if (random() % 3 == 0) text.insert(random() % (text.size() + 1), random() % 2 ? "*" : "?");
    if (random() % 4 == 0) text = "*" + text;
    if (random() % 4 == 0)
      for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    const MatchOptions options{random() % 2 == 0, random() % 3 == 0};
    // All discs, or a run of them, as a category gives.
    const size_t first = random() % 2 == 0 ? 0 : random() % all.size();
    discs_.assign(all.begin() + first, all.begin() + first + 1 + random() % (all.size() - first));
    ExpectSameAsLinear(text, options, false);
  }
  discs_ = all;
  for (const char* text :
       {"live", "LIVE", "mp3", "x.m?3", "*.mp3", "\xB5\xE7\xD3\xB0", "\x81" "a", "a\xB5\xE7", "xxx live"})
    for (MatchOptions options : {MatchOptions{false, false}, MatchOptions{true, false}, MatchOptions{false, true}})
      ExpectSameAsLinear(text, options);
}

// A catalogue of many discs is built from a sample first: the common keys
// it finds are left out of every other disc, and searches still give the
// linear search's rows.
TEST_F(NameIndexTest, ABuildFromASampleOfDiscsLeavesOutTheirCommonKeys) {
  std::mt19937 random(5);
  for (int d = 0; d < 70; ++d) {
    const std::string name = "S" + std::to_string(d);
    Write(name, RandomSnapshot(random, 400, false));
    discs_.push_back({"", name});
  }
  ASSERT_TRUE(index_.UpdateAll(nullptr));
  const std::string merged = test::ReadBytes(index_.IndexFolder() + "discs.merged");
  const auto view = SegmentView::Open(merged);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->Discs().size(), 70u);
  EXPECT_FALSE(view->CommonKeys().empty());
  for (int q = 0; q < 40; ++q) ExpectSameAsLinear(RandomName(random), {q % 2 == 0, false}, false);
  ExpectSameAsLinear("x.mp3", {});
}

TEST_F(NameIndexTest, FewChangedDiscsGetSegmentsOfTheirOwnAndManyAreMergedAgain) {
  for (int d = 0; d < 40; ++d) {
    Write("D" + std::to_string(d), "E:\\v\\live " + std::to_string(d) + ".mp3[1]2006/3/3\r\n");
    discs_.push_back({"", "D" + std::to_string(d)});
  }
  ASSERT_TRUE(index_.UpdateAll(nullptr));
  auto own_segments = [&] {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(index_.IndexFolder()))
      count += entry.path().extension() == ".idx";
    return count;
  };
  EXPECT_EQ(own_segments(), 0u);
  for (int d = 0; d < 2; ++d) Write("D" + std::to_string(d), "E:\\v\\live new.avi[2]2006/3/3\r\n");
  ASSERT_TRUE(index_.UpdateAll(nullptr));
  EXPECT_EQ(own_segments(), 2u);
  ExpectSameAsLinear("live", {});
  // Many discs read whole by a search: caught up with one full pass.
  std::vector<std::string> changed;
  for (int d = 0; d < 20; ++d) {
    Write("D" + std::to_string(d), "E:\\v\\live newer.avi[2]2006/3/3\r\n");
    changed.push_back("D" + std::to_string(d));
  }
  index_.CatchUp(changed);
  EXPECT_EQ(own_segments(), 0u);
  EXPECT_EQ(index_.Status().current, 40u);
  ExpectSameAsLinear("live", {});
}

TEST_F(NameIndexTest, AStoppedOrUnwrittenBuildLeavesNoIndexThatSearchesWouldUse) {
  for (int d = 0; d < 3; ++d) Write("D" + std::to_string(d), "E:\\v\\live.mp3[1]2006/3/3\r\n");
  discs_ = {{"", "D0"}, {"", "D1"}, {"", "D2"}};
  test::FailingFileSystem failing;
  failing.fail_write = true;
  NameIndex unwritable(data_, &failing);
  EXPECT_FALSE(unwritable.UpdateAll(nullptr));
  EXPECT_FALSE(index_.UpdateAll([](size_t done, size_t) { return done == 0; }));
  EXPECT_FALSE(index_.Complete());
  EXPECT_FALSE(test::PathExists(index_.MergedPath()));
  std::vector<std::string> stale;
  EXPECT_EQ(Run("live", {}, &index_, &stale), Run("live", {}, nullptr));
  EXPECT_EQ(stale.size(), 3u);
}

TEST_F(NameIndexTest, SearchesWithoutThreeRequiredBytesReadTheSnapshots) {
  Write("A", "E:\\x\\ab.txt[1]2006/3/3\r\n");
  discs_ = {{"", "A"}};
  ASSERT_TRUE(index_.UpdateAll(nullptr));
  for (const char* text : {"?", "*", "a*", "ab", "a?c*"}) {
    std::vector<std::string> stale;
    EXPECT_EQ(Run(text, {}, &index_, &stale), Run(text, {}, nullptr)) << text;
    EXPECT_TRUE(stale.empty());  // nothing to update: the index was not asked
  }
}

TEST_F(NameIndexTest, ASnapshotChangedBehindTheIndexIsReadUntilItsSegmentIsRebuilt) {
  const std::string old_line = "E:\\v\\old live.avi[10]2006/3/3\r\n";
  Write("A", old_line);
  Write("B", "E:\\v\\live.mp3[1]2006/3/3\r\n");
  discs_ = {{"", "A"}, {"", "B"}};
  ASSERT_TRUE(index_.UpdateAll(nullptr));
  ExpectSameAsLinear("live", {});

  // Replaced by hand with a file of the same size, and B deleted.
  std::string new_line = old_line;
  new_line.replace(new_line.find("old"), 3, "new");
  Write("A", new_line);
  std::filesystem::remove(data_ + "B.cdg");
  std::vector<std::string> stale;
  const std::vector<std::string> rows = Run("new live", {}, &index_, &stale);
  EXPECT_EQ(rows, Run("new live", {}, nullptr));
  EXPECT_EQ(rows.size(), 5u);  // two reports, the end, A's header and its row
  EXPECT_EQ(stale, std::vector<std::string>{"A"});

  EXPECT_EQ(index_.UpdateDisc("A"), SegmentUpdate::kBuilt);
  EXPECT_EQ(index_.UpdateDisc("B"), SegmentUpdate::kRemoved);
  EXPECT_FALSE(test::PathExists(index_.IndexFolder() + "B.idx"));
  ExpectSameAsLinear("new live", {});
}

TEST_F(NameIndexTest, ADamagedSegmentIsNeverTrustedAndIsRebuilt) {
  Write("A", "E:\\v\\live.mp3[1]2006/3/3\r\nE:\\v\\other.mp3[1]2006/3/3\r\n");
  discs_ = {{"", "A"}};
  ASSERT_TRUE(index_.UpdateAll(nullptr));
  const std::string segment = index_.MergedPath();
  const std::string good = test::ReadBytes(segment);
  std::string flipped = good;
  flipped[flipped.size() / 2] ^= 0x01;
  std::string flipped_head = good;
  flipped_head[flipped_head.size() - 40] ^= 0x01;
  for (const std::string& damaged : {good.substr(0, good.size() - 9), flipped, flipped_head, std::string()}) {
    NameIndex fresh(data_);  // maps the file anew
    fresh.SetRecentWindow(0);
    std::filesystem::remove(fresh.SegmentPath("A"));  // made in the round before
    WriteBytes(segment, damaged);
    EXPECT_EQ(fresh.Status().missing, 1u);
    std::vector<std::string> stale;
    EXPECT_EQ(Run("live", {}, &fresh, &stale), Run("live", {}, nullptr));
    EXPECT_EQ(stale, std::vector<std::string>{"A"});
    EXPECT_EQ(fresh.UpdateDisc("A"), SegmentUpdate::kBuilt);
    EXPECT_EQ(fresh.Status().current, 1u);
  }
}

// A file system on which a snapshot vanishes right after it was read, as
// when a disc is deleted while the index is being built.
class VanishingFileSystem : public RealFileSystem {
 public:
  std::optional<std::string_view> ReadFileInto(const std::string& path, std::string& storage) override {
    std::optional<std::string_view> bytes = RealFileSystem::ReadFileInto(path, storage);
    if (path.ends_with("B.cdg")) std::filesystem::remove(path);
    return bytes;
  }
};

TEST_F(NameIndexTest, ADiscDeletedDuringTheBuildLeavesNoSegmentAndFreshFilesAreNotTrustedYet) {
  Write("A", "E:\\v\\live.mp3[1]2006/3/3\r\n");
  Write("B", "E:\\v\\live.mp3[1]2006/3/3\r\n");
  Write("C", "E:\\v\\live.mp3[1]2006/3/3\r\n");
  VanishingFileSystem vanishing;
  test::ScopedFileSystem scoped(&vanishing);
  ASSERT_TRUE(index_.UpdateAll(nullptr));
  const IndexStatus status = index_.Status();
  EXPECT_EQ(status.snapshots, 2u);
  EXPECT_EQ(status.current, 2u);
  EXPECT_EQ(status.orphans, 0u);
  EXPECT_TRUE(status.complete);

  // With the usual window a file written just now gets a segment that a
  // search does not use until it is built again.
  Write("C", "E:\\v\\live.avi[1]2006/3/3\r\n");
  NameIndex cautious(data_);
  EXPECT_EQ(cautious.UpdateDisc("C"), SegmentUpdate::kBuilt);
  discs_ = {{"", "C"}};
  std::vector<std::string> stale;
  EXPECT_EQ(Run("live", {}, &cautious, &stale), Run("live", {}, nullptr));
  EXPECT_EQ(stale, std::vector<std::string>{"C"});
}

TEST_F(NameIndexTest, AWriterThatFindsTheIndexTakenWritesNothingAndSearchesStaySound) {
  Write("A", "E:\\v\\live.mp3[1]2006/3/3\r\n");
  Write("B", "E:\\v\\dead.mp3[1]2006/3/3\r\n");
  discs_ = {{"", "A"}, {"", "B"}};
  ASSERT_TRUE(index_.UpdateAll(nullptr));
  // Another program catches the index up meanwhile (a lock file and no wait, as flock is per open file).
  FileLock other = FileLock::Acquire(index_.IndexFolder() + "lock", std::chrono::milliseconds(0));
  ASSERT_TRUE(other.held());
  Write("A", "E:\\v\\live new.mp3[1]2006/3/3\r\n");
  EXPECT_EQ(index_.UpdateDisc("A"), SegmentUpdate::kBusy);
  EXPECT_TRUE(index_.WriterBusy());
  EXPECT_FALSE(test::PathExists(index_.SegmentPath("A")));
  std::filesystem::remove(data_ + "B.cdg");
  EXPECT_FALSE(index_.Rebuild(nullptr));
  EXPECT_TRUE(test::PathExists(index_.MergedPath()));
  discs_ = {{"", "A"}};
  std::vector<std::string> stale;
  EXPECT_EQ(Run("live", {}, &index_, &stale), Run("live", {}, nullptr));
  EXPECT_EQ(stale, std::vector<std::string>{"A"});
  other.Release();
  EXPECT_EQ(index_.UpdateDisc("A"), SegmentUpdate::kBuilt);
  EXPECT_FALSE(index_.WriterBusy());
  ExpectSameAsLinear("live", {});
}

}  // namespace
}  // namespace movra
