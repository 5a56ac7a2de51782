#include "platform/TextCodec.h"

#include <cstdint>

#include <gtest/gtest.h>

namespace movra {
namespace {

// 光盘 in GBK and in UTF-8.
const std::string kGbkDisc = "\xB9\xE2\xC5\xCC";
const std::string kUtf8Disc = "\xE5\x85\x89\xE7\x9B\x98";

TEST(TextCodec, RoundTripsChineseAndAscii) {
  EXPECT_EQ(GbkToUtf8(kGbkDisc + "_01"), kUtf8Disc + "_01");
  EXPECT_EQ(Utf8ToGbk(kUtf8Disc + "_01"), kGbkDisc + "_01");
  EXPECT_EQ(Utf8ToGbk(""), "");
}

TEST(TextCodec, ReplacesWhatTheOtherSideCannotHold) {
  // An emoji (U+1F600) and a lone continuation byte have no GBK form.
  EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80" "b"), "a?b");
  EXPECT_EQ(Utf8ToGbk("a\x80" "b"), "a?b");
  // A lead byte without its trail byte at the end of a GBK text; 0xFF, which no GBK text holds.
  EXPECT_EQ(GbkToUtf8("ab\xB9"), "ab?");
  EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a?b");
  EXPECT_FALSE(GbkToUtf8Strict("a\xFF" "b"));
  EXPECT_EQ(Utf8ToGbk("a\xEF\xA3\xB5" "b"), "a?b");  // U+F8F5, the table's stand-in for 0xFF
}

TEST(TextCodec, NativeNamesLoseWhatALineCannotCarry) {
  EXPECT_EQ(NativeNameToGbk("a\\b|c\nd\re"), "a_b_c_d_e");
  // 乗 (U+4E57) is GBK 0x81 0x5C: its trail byte is a backslash and must stay.
  EXPECT_EQ(NativeNameToGbk("\xE4\xB9\x97.txt"), "\x81\x5C.txt");
}

TEST(TextCodec, DiskNamesAlreadyInGbkStayGbk) {
  EXPECT_EQ(DiskNameToGbk(kUtf8Disc + ".txt"), kGbkDisc + ".txt");   // UTF-8 first
  EXPECT_EQ(DiskNameToGbk(kGbkDisc + "|1.txt"), kGbkDisc + "_1.txt");  // not UTF-8, but GBK
  EXPECT_EQ(DiskNameToGbk("\x81\x5C|"), "\x81\x5C_");                 // a trail byte 0x5C stays
  EXPECT_EQ(DiskNameToGbk("a\xFF"), "a?");                             // neither
  EXPECT_EQ(DiskNameToGbk("a\xB9"), "a?");                             // a lead byte cut short
}

// Every two-byte code of code page 936 (lead 0x81-0xFE, trail 0x40-0xFE but
// 0x7F): 23,940 codes. The characters they stand for must be the table the
// catalogue files were written with on Windows, whichever converter this
// system has (ICU's windows-936-2000 here, the system's own code page there):
// the digest of the whole decoded table is the same on both, and every code
// that stands for a character comes back as itself.
TEST(TextCodec, EveryTwoByteCodeDecodesAsCodePage936AndComesBack) {
  std::uint64_t digest = 14695981039346656037ull;  // FNV-1a over the decoded codes
  int codes = 0, round_trips = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      ++codes;
      const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string utf8 = GbkToUtf8(code);
      for (unsigned char byte : utf8 + '\n') digest = (digest ^ byte) * 1099511628211ull;
      if (utf8 != "?" && Utf8ToGbk(utf8) == code) ++round_trips;
    }
  }
  EXPECT_EQ(codes, 23940);
  EXPECT_EQ(round_trips, 23940);
  EXPECT_EQ(digest, 10572111286506680357ull);
}

}  // namespace
}  // namespace movra
