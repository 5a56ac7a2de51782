#include "snapshot/LineFields.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace movra {
namespace {

// GBK characters whose second byte is a marker or an ASCII letter.
const std::string kTrailBackslash = "\xB0\x5C";  // 癨
const std::string kTrailOpen = "\x81\x5B";       // 乕
const std::string kTrailClose = "\x81\x5D";      // 乚
const std::string kTrailBar = "\x81\x7C";        // 亅
const std::string kDisc = "\xB9\xE2\xC5\xCC";    // 光盘

TEST(LineFields, TakesApartFileAndFolderLines) {
  const std::string file = "E:\\VIDEO\\A.VOB[1048576]2006/3/3 9:07:02";
  EXPECT_TRUE(LineIsFile(file));
  EXPECT_EQ(LineFolder(file), "E:\\VIDEO\\");
  EXPECT_EQ(LineName(file), "A.VOB");
  EXPECT_EQ(LineSize(file), 1048576);
  EXPECT_DOUBLE_EQ(LineTime(file), EncodeDateTime({2006, 3, 3, 9, 7, 2}));

  const std::string folder = "E:\\|VIDEO[]2006/3/3";
  EXPECT_FALSE(LineIsFile(folder));
  EXPECT_EQ(LineFolder(folder), "E:\\");
  EXPECT_EQ(LineName(folder), "VIDEO");
  EXPECT_EQ(LineSize(folder), 0);
  EXPECT_DOUBLE_EQ(LineTime(folder), EncodeDateTime({2006, 3, 3, 0, 0, 0}));
}

TEST(LineFields, NameKeepsItsOwnSquareBrackets) {
  const std::string line = "E:\\A[1].TXT[5]2006/3/3";
  EXPECT_EQ(LineName(line), "A[1].TXT");
  EXPECT_EQ(LineSize(line), 5);
  EXPECT_EQ(LineName("E:\\|[x]y[]2006/3/3"), "[x]y");
}

TEST(LineFields, NameBoundsWhenMarkersAreMissingOrOutOfOrder) {
  EXPECT_EQ(LineName("ABC[3]2006/3/3"), "ABC");     // no separator: from the start
  EXPECT_EQ(LineName("E:\\NAME"), "NAME");          // no '[': to the end
  EXPECT_EQ(LineName("[x]E:\\NAME"), "NAME");       // '[' before the separator: to the end
  EXPECT_EQ(LineName("E:\\"), "");
  EXPECT_EQ(LineName(""), "");
  EXPECT_EQ(LineFolder("NAME[1]2006/3/3"), "");
  EXPECT_EQ(LineFolder("E:\\A\\|B[]x"), "E:\\A\\");
}

TEST(LineFields, SizeIsReadAsAtolReadsIn64Bits) {
  EXPECT_EQ(LineSize("E:\\A[-5]x"), -5);
  EXPECT_EQ(LineSize("E:\\A[-2147483648]x"), -2147483648LL);
  EXPECT_EQ(LineSize("E:\\A[4294967296]x"), 4294967296LL);
  EXPECT_EQ(LineSize("E:\\A[ \t+12abc]x"), 12);
  EXPECT_EQ(LineSize("E:\\A[abc]x"), 0);
  EXPECT_EQ(LineSize("E:\\A[- 1]x"), 0);
  EXPECT_EQ(LineSize("E:\\A[]x"), 0);
  EXPECT_EQ(LineSize("E:\\A]x[7"), 0);  // ']' before '['
  EXPECT_EQ(LineSize("E:\\A[99999999999999999999999]x"), INT64_MAX);
  EXPECT_EQ(LineSize("E:\\A[-99999999999999999999999]x"), INT64_MIN);
  EXPECT_EQ(LineSize("E:\\A[-9223372036854775808]x"), INT64_MIN);
}

TEST(LineFields, TimeThatIsNoDateTimeThrows) {
  EXPECT_THROW(LineTime(""), ConversionError);
  EXPECT_THROW(LineTime("E:\\A[1]"), ConversionError);
  EXPECT_THROW(LineTime("E:\\A[1]yesterday"), ConversionError);
  EXPECT_THROW(LineTime("E:\\A[1"), ConversionError);  // no ']': the whole line is read
  EXPECT_DOUBLE_EQ(LineTime("2006/3/3"), EncodeDateTime({2006, 3, 3, 0, 0, 0}));
}

TEST(LineFields, SecondBytesOfChineseCharactersAreNeverMarkers) {
  // A folder and a file whose names end in bytes that look like markers.
  const std::string file = "E:\\" + kTrailBackslash + "\\" + kTrailOpen + kTrailClose + kTrailBar +
                           kTrailBackslash + "[12]2006/3/3";
  EXPECT_TRUE(LineIsFile(file));
  EXPECT_EQ(LineFolder(file), "E:\\" + kTrailBackslash + "\\");
  EXPECT_EQ(LineName(file), kTrailOpen + kTrailClose + kTrailBar + kTrailBackslash);
  EXPECT_EQ(LineSize(file), 12);
  EXPECT_DOUBLE_EQ(LineTime(file), EncodeDateTime({2006, 3, 3, 0, 0, 0}));

  const std::string folder = "E:\\|" + kTrailBar + kTrailBackslash + "[]2006/3/3";
  EXPECT_FALSE(LineIsFile(folder));
  EXPECT_EQ(LineFolder(folder), "E:\\");
  EXPECT_EQ(LineName(folder), kTrailBar + kTrailBackslash);
}

TEST(LineFields, CharacterPairsAreCountedFromTheStartOfTheLine) {
  // 光盘 then 乗: the 0x5C follows five bytes of 0x81-0xFE, so it is a trail byte.
  EXPECT_EQ(LineFolder("E:\\" + kDisc + "\x81\x5C" + "[1]2006/3/3"), "E:\\");
  // 光盘 then a real backslash: four such bytes, so the 0x5C stands alone.
  EXPECT_EQ(LineFolder("E:\\" + kDisc + "\\A[1]2006/3/3"), "E:\\" + kDisc + "\\");
  // A lead byte at the start of the line pairs with the byte after it.
  EXPECT_EQ(LineFolder("\x81\\A\\B"), "\x81\\A\\");
  EXPECT_EQ(LineFolder("\x81\\"), "");
}

// Marker positions by a plain scan from the start of the line.
LineMarkers ForwardScan(std::string_view line) {
  LineMarkers m;
  for (size_t i = 0; i < line.size(); ++i) {
    const auto b = static_cast<unsigned char>(line[i]);
    if (b >= 0x81 && b <= 0xFE) {
      ++i;
      continue;
    }
    if (b == '\\') m.last_backslash = i;
    if (b == '|') m.last_bar = i;
    if (b == '[') m.last_open = i;
    if (b == ']') m.last_close = i;
  }
  return m;
}

TEST(LineFields, MarkersAgreeWithAScanFromTheStartOnRandomLines) {
  std::mt19937 random(7);
  const std::string alphabet = std::string("\\|[]aZ\x81\xB0\xFE\xFF\x80\x40", 12);
  for (int round = 0; round < 20000; ++round) {
    std::string line(random() % 24, ' ');
    for (char& c : line) c = alphabet[random() % alphabet.size()];
    const LineMarkers expected = ForwardScan(line);
    const LineMarkers found = FindMarkers(line);
    ASSERT_EQ(found.last_backslash, expected.last_backslash) << round;
    ASSERT_EQ(found.last_bar, expected.last_bar) << round;
    ASSERT_EQ(found.last_open, expected.last_open) << round;
    ASSERT_EQ(found.last_close, expected.last_close) << round;
  }
}

}  // namespace
}  // namespace movra
