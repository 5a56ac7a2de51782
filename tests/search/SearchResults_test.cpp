#include "search/SearchResults.h"

#include <gtest/gtest.h>

#include <string>

namespace movra {
namespace {

TEST(SearchResults, RowsAndTextsStayPutWhileTheListGrows) {
  SearchResults results;
  results.AddDisc("A\\DISC");
  results.AddEntry(false, "VIDEO", "E:\\", 99, 1.5);
  const std::string_view first_name = SearchResults::Name(results[0]);
  const std::string huge(600000, 'h');  // larger than a share of a text block
  for (int i = 0; i < 20000; ++i) {
    const std::string folder = "E:\\F" + std::to_string(i / 3) + "\\";
    results.AddEntry(true, i == 10000 ? huge : "n" + std::to_string(i), folder, i, 2.0);
  }
  ASSERT_EQ(results.size(), 20002u);
  EXPECT_EQ(first_name, "[ A\\DISC ]");
  EXPECT_EQ(results[0].kind, RowKind::kDisc);
  EXPECT_EQ(SearchResults::Folder(results[0]), "");
  EXPECT_EQ(results[1].kind, RowKind::kFolder);
  EXPECT_EQ(results[1].size, 0);  // folders have no size
  for (int i = 0; i < 20000; i += 997) {
    const SearchRow& row = results[static_cast<size_t>(i) + 2];
    EXPECT_EQ(SearchResults::Name(row), "n" + std::to_string(i));
    EXPECT_EQ(SearchResults::Folder(row), "E:\\F" + std::to_string(i / 3) + "\\");
    EXPECT_EQ(row.size, i);
  }
  EXPECT_EQ(SearchResults::Name(results[10002]), huge);
  EXPECT_EQ(SearchResults::Name(results[10003]), "n10001");

  results.Clear();
  EXPECT_TRUE(results.empty());
  results.AddEntry(true, "x", "E:\\F0\\", 1, 2.0);  // the shared folder text is not kept across a clear
  EXPECT_EQ(SearchResults::Folder(results[0]), "E:\\F0\\");
}

}  // namespace
}  // namespace movra
