#include "workflows/Search.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/TextCodec.h"
#include "snapshot/SnapshotFile.h"
#include "support/TempDir.h"

namespace movra {
namespace {

// Main category A holding disc X and sub-category B with disc Y; main
// category C with disc M, which has no snapshot file.
class SearchWorkflowTest : public ::testing::Test {
 protected:
  SearchWorkflowTest() {
    test::WriteBytes(dir_.path() + "/Movra.xml",
                     "<root><CDLIST><T_A><D_X><Title>X</Title></D_X><T_B><D_Y><Title>Y</Title></D_Y></T_B></T_A>"
                     "<T_C><D_M><Title>M</Title></D_M></T_C></CDLIST></root>");
    std::filesystem::create_directory(data_);
    EXPECT_TRUE(doc_.Open(dir_.path() + "/Movra.xml"));
    const DateTime t = 38779.5;
    SnapshotIndex x;
    x.AddFolder("D:\\", "MOVIES", t, 0);
    x.AddFile("D:\\MOVIES\\", "live.mp3", t, 3);
    x.AddFile("D:\\", "notes.txt", t, 1);
    EXPECT_TRUE(WriteSnapshot(x, SnapshotPathOf(data_, "X")));
    SnapshotIndex y;
    y.AddFile("E:\\", "LIVE.MP3", t, 7);
    y.AddFolder("E:\\", "live", t, 0);
    EXPECT_TRUE(WriteSnapshot(y, SnapshotPathOf(data_, "Y")));
    index_.SetRecentWindow(0);
  }

  std::vector<std::string> DiscsAt(const std::string& location, LocationKind kind) {
    const std::optional<std::vector<DiscListEntry>> discs = LocateSearch(doc_, {"x", location, kind, {}});
    if (!discs) return {"none"};
    std::vector<std::string> texts;
    for (const DiscListEntry& disc : *discs) texts.push_back(disc.Text());
    return texts;
  }

  // Every entry found and every missing-disc message, as text.
  std::vector<std::string> Found(const SearchRequest& request, NameIndex* index, SearchOutcome* outcome = nullptr) {
    SearchResults results;
    std::vector<std::string> out;
    const SearchOutcome ended = RunSearch(data_, *LocateSearch(doc_, request), request, results,
                                          [&](const SearchStep& step) {
                                            if (!step.missing_message.empty()) out.push_back(step.missing_message);
                                            VisitEntries(results, step.first_row, step.disc->Text(),
                                                         [&](const FoundEntry& e) {
                                                           out.push_back(std::string(e.disc) + "|" +
                                                                         std::string(e.folder) + std::string(e.name) +
                                                                         (e.is_file ? "|file|" : "|folder|") +
                                                                         std::to_string(e.size));
                                                         });
                                            return true;
                                          },
                                          index);
    if (outcome) *outcome = ended;
    return out;
  }

  test::TempDir dir_;
  std::string data_ = dir_.path() + "/CDROM/";
  CatalogueDocument doc_;
  NameIndex index_{data_};
};

TEST_F(SearchWorkflowTest, TheLocationNamesACategoryOrADisc) {
  const std::string all = Utf8ToGbk("全部");
  struct Case {
    std::string location;
    LocationKind kind;
    std::vector<std::string> discs;
  };
  const Case cases[] = {
      {all, LocationKind::kCategoryOrDisc, {"A\\X", "A\\B\\Y", "C\\M"}},
      {"A\\", LocationKind::kCategory, {"A\\X", "A\\B\\Y"}},
      {"A\\B\\", LocationKind::kCategoryOrDisc, {"B\\Y"}},
      {"X", LocationKind::kCategoryOrDisc, {"X"}},
      {"A\\X", LocationKind::kDisc, {"X"}},
      {"X", LocationKind::kCategory, {"none"}},
      {"A", LocationKind::kDisc, {"none"}},
      {"nowhere", LocationKind::kCategoryOrDisc, {"none"}},
  };
  for (const Case& c : cases) EXPECT_EQ(DiscsAt(c.location, c.kind), c.discs) << c.location;
}

TEST_F(SearchWorkflowTest, TheIndexGivesTheLinearSearchsRowsAndAMissingDiscIsNamed) {
  ASSERT_TRUE(index_.UpdateAll(nullptr));
  const std::string missing = Utf8ToGbk("光盘(" + data_ + "M.cdg)不存在！");
  for (const SearchRequest& request :
       {SearchRequest{"live", Utf8ToGbk("全部"), LocationKind::kCategory, {}},
        SearchRequest{"*.mp3", "A\\", LocationKind::kCategory, {true, false}},
        SearchRequest{"*", Utf8ToGbk("全部"), LocationKind::kCategory, {false, true}}}) {
    SearchOutcome linear;
    SearchOutcome indexed;
    const std::vector<std::string> rows = Found(request, nullptr, &linear);
    EXPECT_EQ(Found(request, &index_, &indexed), rows) << request.text;
    EXPECT_EQ(indexed.matches, linear.matches);
    EXPECT_EQ(indexed.discs_searched, linear.discs_searched);
  }
  SearchOutcome outcome;
  EXPECT_EQ(Found({"live", Utf8ToGbk("全部"), LocationKind::kCategory, {}}, &index_, &outcome),
            (std::vector<std::string>{"A\\X|D:\\MOVIES\\live.mp3|file|3", "A\\B\\Y|E:\\LIVE.MP3|file|7",
                                      "A\\B\\Y|E:\\live|folder|0", missing}));
  EXPECT_EQ(outcome.matches, 3u);
  EXPECT_EQ(outcome.discs_searched, 2u);
  EXPECT_EQ(outcome.end, SearchEnd::kCompleted);
}

}  // namespace
}  // namespace movra
