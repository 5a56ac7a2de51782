#include "search/ResultPlaces.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

// A double-byte character whose second byte is a backslash.
const std::string kTrailBackslash = "\x81\x5C";

TEST(ResultPlaces, PathsSplitOnlyAtRealBackslashes) {
  EXPECT_EQ(SplitPath("a\\b\\"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitPath("\\\\x"), (std::vector<std::string>{"x"}));
  EXPECT_EQ(SplitPath(kTrailBackslash + "\\" + kTrailBackslash + "z\\"),
            (std::vector<std::string>{kTrailBackslash, kTrailBackslash + "z"}));
}

TEST(ResultPlaces, EntriesBelongToTheHeaderAboveThemAndCopyAsOneLine) {
  SearchResults rows;
  rows.AddEntry(true, "orphan", "E:\\", 1, 0);
  rows.AddDisc("A\\" + kTrailBackslash + "\\DVD");
  rows.AddEntry(true, "f.txt", "E:\\V\\", 2048, 0);
  rows.AddDisc("OTHER");
  rows.AddEntry(false, "dir", "F:\\", 0, 0);

  EXPECT_TRUE(PlaceOf(rows, 0).disc.empty());
  const ResultPlace file = PlaceOf(rows, 2);
  EXPECT_FALSE(file.is_header);
  EXPECT_EQ(file.disc, "DVD");
  EXPECT_EQ(file.categories, (std::vector<std::string>{"A", kTrailBackslash}));
  EXPECT_EQ(file.folder, "E:\\V\\");
  EXPECT_EQ(PlaceOf(rows, 3).disc, "OTHER");
  EXPECT_TRUE(PlaceOf(rows, 3).is_header);
  EXPECT_EQ(PlaceOf(rows, 4).disc, "OTHER");

  EXPECT_EQ(CopyLine(rows, 1), "A\\" + kTrailBackslash + "\\DVD");
  EXPECT_EQ(CopyLine(rows, 2), "A\\" + kTrailBackslash + "\\DVD\\E:\\V\\f.txt\t2 KB");
  EXPECT_EQ(CopyLine(rows, 4), "OTHER\\F:\\dir\t0 KB");
}

}  // namespace
}  // namespace movra
