#include "workflows/DiscEntry.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

// 光盘卷号： and 光盘卷标：
const std::string kSerialPrefix = "\xB9\xE2\xC5\xCC\xBE\xED\xBA\xC5\xA3\xBA";
const std::string kLabelPrefix = "\xB9\xE2\xC5\xCC\xBE\xED\xB1\xEA\xA3\xBA";

TEST(ProposedMemoLines, GiveNumberPlaceSerialAndLabelLines) {
  const auto lines = ProposedMemoLines(1234u, "DVD_01");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "\xB9\xE2\xC5\xCC\xB1\xE0\xBA\xC5\xA3\xBA");  // 光盘编号：
  EXPECT_EQ(lines[1],
            "\xB9\xE2\xC5\xCC\xCE\xBB\xD6\xC3\xA3\xBA"
            "1\xBA\xC5"
            "CD\xBA\xD0");  // 光盘位置：1号CD盒
  EXPECT_EQ(lines[2], kSerialPrefix + "1234");
  EXPECT_EQ(lines[3], kLabelPrefix + "DVD_01");
}

TEST(ProposedMemoLines, ShowSerialsAsSigned32BitNumbersAndNothingWithoutOne) {
  EXPECT_EQ(ProposedMemoLines(0xFFFFFFFFu, "x")[2], kSerialPrefix + "-1");
  EXPECT_EQ(ProposedMemoLines(0x80000000u, "x")[2], kSerialPrefix + "-2147483648");
  EXPECT_EQ(ProposedMemoLines(0x7FFFFFFFu, "x")[2], kSerialPrefix + "2147483647");
  EXPECT_EQ(ProposedMemoLines(0u, "x")[2], kSerialPrefix + "0");
  EXPECT_EQ(ProposedMemoLines(std::nullopt, "x")[2], kSerialPrefix);
}

TEST(MemoText, LinesAreStoredEachFollowedByNbspAndReadBackFromTheField) {
  EXPECT_EQ(JoinMemoLines({"a", "b"}), "anbspbnbsp");
  EXPECT_EQ(JoinMemoLines({"a", "", "c"}), "anbspnbspcnbsp");
  EXPECT_EQ(JoinMemoLines({}), "");

  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(SplitLines("a\nb"), (std::vector<std::string>{"a", "b"}));
  // A final line feed ends the last line; it does not add an empty one.
  EXPECT_EQ(SplitLines("a\nb\n"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitLines("a\r\n\nc"), (std::vector<std::string>{"a", "", "c"}));
  EXPECT_EQ(SplitLines("\n"), (std::vector<std::string>{""}));

  const std::vector<std::string> three{"one", "\xB9\xE2\xC5\xCC", "three"};
  EXPECT_EQ(SplitLines(JoinLines(three)), three);
}

TEST(ScanPaths, DriveTextEndsAtTheFirstColon) {
  EXPECT_EQ(DriveTextOf("E:\\VIDEO"), "E:");
  EXPECT_EQ(DriveTextOf("E:"), "E:");
  EXPECT_EQ(DriveTextOf("Z:\\a:b"), "Z:");
  EXPECT_EQ(DriveTextOf("/home/ann"), "");
  EXPECT_EQ(DriveTextOf(""), "");
}

TEST(ScanPaths, GetExactlyOneTrailingBackslash) {
  EXPECT_EQ(WithTrailingBackslash("E:\\"), "E:\\");
  EXPECT_EQ(WithTrailingBackslash("E:"), "E:\\");
  EXPECT_EQ(WithTrailingBackslash("E:\\VIDEO"), "E:\\VIDEO\\");
  EXPECT_EQ(WithTrailingBackslash(""), "");
  // The second byte of a double-byte character may be 0x5C; it is not a backslash.
  EXPECT_EQ(WithTrailingBackslash("Z:\\\x81\x5C"), "Z:\\\x81\x5C\\");
  EXPECT_EQ(WithTrailingBackslash("Z:\\\x81\x5C\\"), "Z:\\\x81\x5C\\");
  // A lone lead byte at the end is a character of its own.
  EXPECT_EQ(WithTrailingBackslash("Z:\\\x81"), "Z:\\\x81\\");
}

}  // namespace
}  // namespace movra
