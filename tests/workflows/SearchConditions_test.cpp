// Searches with conditions beside the name: through the name index and over
// the snapshot files they give exactly the rows of the search without
// conditions that meet them, in the same order.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/TextCodec.h"
#include "snapshot/SnapshotFile.h"
#include "support/TempDir.h"
#include "workflows/Search.h"

namespace movra {
namespace {

const char* const kWords[] = {"live", "LIVE", "a", "bc", "x.mp3", ".MP3", "7", "_", "\xC6\xDF\xC0\xEF\xCF\xE3"};
const char* const kTexts[] = {"", "live", "*.mp3", "a?c", "LIVE", "*", "bc", "\xC6\xDF\xC0\xEF", "live*3"};

// One found entry with all it shows.
struct Row {
  std::string disc, path;
  bool is_file;
  std::int64_t size;
  DateTime modified;
  bool operator==(const Row&) const = default;
};

class SearchConditionsTest : public ::testing::Test {
 protected:
  SearchConditionsTest() {
    std::string discs;
    for (int d = 0; d < 4; ++d) {
      const std::string name = "D" + std::to_string(d);
      discs += "<D_" + name + "><Title>" + name + "</Title></D_" + name + ">";
      SnapshotIndex snapshot;
      std::vector<std::string> keys = {"E:\\"};
      for (int i = 0; i < 150; ++i) {
        const std::string key = keys[random_() % keys.size()];
        const std::string entry = std::to_string(i) + Word() + Word();  // unique in its folder
        const DateTime time = base_ + static_cast<double>(random_() % (40 * 86400)) / 86400.0;
        times_.push_back(time);
        if (random_() % 5 == 0) {
          snapshot.AddFolder(key, entry, time, 0);
          keys.push_back(key + entry + "\\");
        } else {
          // Now and then a file beyond 4 GiB.
          const std::int64_t size = random_() % 9 == 0 ? (std::int64_t{5} << 30) + random_() % 100
                                                       : static_cast<std::int64_t>(random_() % 5000);
          snapshot.AddFile(key, entry, time, size);
        }
      }
      EXPECT_TRUE(WriteSnapshot(snapshot, SnapshotPathOf(data_, name)));
    }
    test::WriteBytes(dir_.path() + "/Movra.xml", "<root><CDLIST><T_A>" + discs + "</T_A></CDLIST></root>");
    EXPECT_TRUE(doc_.Open(dir_.path() + "/Movra.xml"));
    index_.SetRecentWindow(0);
    EXPECT_TRUE(index_.UpdateAll(nullptr));
  }

  std::string Word() { return kWords[random_() % std::size(kWords)]; }

  std::vector<Row> Found(const SearchRequest& request, NameIndex* index) {
    SearchResults results;
    std::vector<Row> rows;
    RunSearch(data_, *LocateSearch(doc_, request), request, results,
              [&](const SearchStep& step) {
                VisitEntries(results, step.first_row, step.disc->Text(), [&](const FoundEntry& e) {
                  rows.push_back({std::string(e.disc), std::string(e.folder) + std::string(e.name), e.is_file,
                                  e.size, e.modified});
                });
                return true;
              },
              index, [](const std::vector<std::string>&) {});
    return rows;
  }

  // A size bound near the sizes of the entries, 0 and 4 GiB among them.
  std::optional<std::int64_t> RandomSize() {
    switch (random_() % 6) {
      case 0: return 0;
      case 1: return std::int64_t{4} << 30;
      case 2: case 3: return static_cast<std::int64_t>(random_() % 5000);
      default: return std::nullopt;
    }
  }
  // A time bound: some day's start, or the very instant of an entry.
  std::optional<DateTime> RandomTime() {
    switch (random_() % 4) {
      case 0: return base_ + static_cast<double>(random_() % 40);
      case 1: return times_[random_() % times_.size()];
      default: return std::nullopt;
    }
  }

  std::mt19937 random_{20060303};
  const DateTime base_ = EncodeDateTime({2006, 3, 3, 0, 0, 0});
  std::vector<DateTime> times_;
  test::TempDir dir_;
  std::string data_ = [this] {
    std::filesystem::create_directory(dir_.path() + "/CDROM");
    return dir_.path() + "/CDROM/";
  }();
  CatalogueDocument doc_;
  NameIndex index_{data_};
};

TEST_F(SearchConditionsTest, IndexedAndLinearRowsAreTheUnconditionedRowsThatMeetTheConditions) {
  int rows_found = 0;
  for (int i = 0; i < 1000; ++i) {
    SearchRequest request{kTexts[random_() % std::size(kTexts)], Utf8ToGbk("全部"), LocationKind::kCategory,
                          MatchOptions{random_() % 4 == 0, random_() % 6 == 0}};
    EntryConditions& c = request.conditions;
    c = {RandomSize(), RandomSize(), RandomTime(), RandomTime(), static_cast<EntryKinds>(random_() % 3)};
    if (!AsksForSomething(request)) continue;
    SearchRequest plain = request;
    plain.conditions = {};
    std::vector<Row> expected;
    for (const Row& row : Found(plain, nullptr))
      if (c.AdmitsKindAndSize(row.is_file, row.size) && c.AdmitsTime(row.modified)) expected.push_back(row);
    ASSERT_EQ(Found(request, nullptr), expected) << i << " " << request.text;
    ASSERT_EQ(Found(request, &index_), expected) << i << " " << request.text;
    rows_found += static_cast<int>(expected.size());
  }
  EXPECT_GT(rows_found, 10000);  // the cases found something
}

TEST_F(SearchConditionsTest, AConditionAloneFindsEveryEntryThatMeetsIt) {
  SearchRequest request{"", Utf8ToGbk("全部"), LocationKind::kCategory, {}};
  EXPECT_FALSE(AsksForSomething(request));
  request.conditions.min_size = std::int64_t{4} << 30;
  const std::vector<Row> big = Found(request, &index_);
  ASSERT_FALSE(big.empty());
  for (const Row& row : big) EXPECT_TRUE(row.is_file && row.size >= (std::int64_t{4} << 30)) << row.path;
  request.conditions = {std::nullopt, std::nullopt, std::nullopt, std::nullopt, EntryKinds::kFolders};
  const size_t folders = Found(request, &index_).size();
  request.conditions.kinds = EntryKinds::kFiles;
  EXPECT_EQ(folders + Found(request, &index_).size(), times_.size());
}

}  // namespace
}  // namespace movra
