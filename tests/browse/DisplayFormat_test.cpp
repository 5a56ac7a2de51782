#include "browse/DisplayFormat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace movra {
namespace {

TEST(DisplayFormat, FormatSizeBoundaries) {
  const std::vector<std::pair<std::int64_t, std::string>> cases = {
      {0, "0 KB"},
      {1, "1 KB"},
      {1000, "1 KB"},
      {1024, "1 KB"},
      {1025, "1 KB"},
      {2047, "1 KB"},
      {2048, "2 KB"},
      {1'023'999, "999 KB"},
      {1'024'000, "1,000 KB"},
      {1'048'576, "1,024 KB"},
      {1'500'000, "1,464 KB"},
      {2'147'483'647, "2,097,151 KB"},
      {3'000'000'000, "2,929,687 KB"},
      {1'099'511'627'776, "1,073,741,824 KB"},
      {-5, "1 KB"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(FormatSize(bytes), text) << bytes;
}

TEST(DisplayFormat, FormatTotalSizeBoundaries) {
  const std::vector<std::pair<std::int64_t, std::string>> cases = {
      {0, "0 KB"},
      {1, "0.01 KB"},
      {1024, "1 KB"},
      {1025, "1 KB"},
      {33'089, "32.31 KB"},
      {1536, "1.5 KB"},
      {1'048'576, "1,024 KB"},
      {1'048'577, "1 MB"},
      {1'572'864, "1.5 MB"},
      {1'059'061, "1.01 MB"},
      {1'073'741'824, "1,024 MB"},
      {1'073'741'825, "1 GB"},
      {1'500'000'000, "1.4 GB"},
      {3'000'000'000, "2.79 GB"},
      // Two decimals round half away from zero: 1.125 GiB is exact in a float.
      {1'207'959'552, "1.13 GB"},
      // Beyond 32 bits and beyond a thousand gigabytes the total stays in GB.
      {5'000'000'000'000, "4,656.61 GB"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(FormatTotalSize(bytes), text) << bytes;
}

TEST(DisplayFormat, ParseSizeReadsWhatFormatSizeWrites) {
  EXPECT_EQ(ParseSize(""), 0);
  EXPECT_EQ(ParseSize("0 KB"), 0);
  EXPECT_EQ(ParseSize("1 KB"), 1024);
  EXPECT_EQ(ParseSize("1,464 KB"), 1'499'136);
  EXPECT_EQ(ParseSize("3 MB"), 3'145'728);
  EXPECT_EQ(ParseSize("2 GB"), 2'147'483'648);
  EXPECT_EQ(ParseSize("7"), 7);
  EXPECT_EQ(ParseSize(" 1 ,4 6 4 KB "), 1'499'136);
  EXPECT_EQ(ParseSize("2,929,687 KB"), 2'999'999'488);
  EXPECT_EQ(ParseSize("no number"), 0);
  EXPECT_EQ(ParseSize("99999999999999999999 KB"), 0);

  // Sorting by size reads the row texts back: the round trip must be stable.
  for (const std::int64_t bytes :
       {std::int64_t{0}, std::int64_t{1}, std::int64_t{1024}, std::int64_t{1025}, std::int64_t{2048},
        std::int64_t{1'500'000}, std::int64_t{3'000'000'000}, std::int64_t{-5}}) {
    const std::string text = FormatSize(bytes);
    EXPECT_EQ(FormatSize(ParseSize(text)), text) << bytes;
  }
}

// FormatDate and WriteDate, the digit-by-digit form lists use, give one text.
TEST(DisplayFormat, FormatDateIsFixedWidth) {
  const std::pair<DateTime, const char*> cases[] = {
      {0, "1899-12-30 00:00:00"},
      {EncodeDateTime({2006, 3, 3, 9, 7, 2}), "2006-03-03 09:07:02"},
      {EncodeDateTime({1999, 12, 31, 23, 59, 59}), "1999-12-31 23:59:59"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(FormatDate(value), text);
    char written[19];
    WriteDate(value, written);
    EXPECT_EQ(std::string(written, sizeof written), text);
  }
}

}  // namespace
}  // namespace movra
