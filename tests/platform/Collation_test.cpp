#include "platform/Collation.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace movra {
namespace {

// GBK: 阿 (a, pinyin first), 光 (guang), 盘 (pan), 中 (zhong).
const std::string kA = "\xB0\xA2";
const std::string kGuang = "\xB9\xE2";
const std::string kPan = "\xC5\xCC";
const std::string kZhong = "\xD6\xD0";

int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

TEST(Collation, LatinComesBeforeChineseAndChineseFollowsPinyin) {
  EXPECT_LT(LocaleCompare("z", kA), 0);
  EXPECT_LT(LocaleCompare("Zebra", kGuang), 0);
  EXPECT_GT(LocaleCompare(kA, "zz"), 0);
  EXPECT_LT(LocaleCompare(kA, kGuang), 0);
  EXPECT_LT(LocaleCompare(kGuang, kPan), 0);
  EXPECT_LT(LocaleCompare(kPan, kZhong), 0);
  std::vector<std::string> names = {kZhong, "b", kGuang, "A", kA, "c"};
  std::sort(names.begin(), names.end(), [](const std::string& x, const std::string& y) { return LocaleCompare(x, y) < 0; });
  EXPECT_EQ(names, (std::vector<std::string>{"A", "b", "c", kA, kGuang, kZhong}));
}

TEST(Collation, CaseMattersOnlyOnTiesAndLowerComesFirst) {
  EXPECT_LT(LocaleCompare("a", "B"), 0);
  EXPECT_LT(LocaleCompare("A", "b"), 0);
  EXPECT_LT(LocaleCompare("a", "A"), 0);
  EXPECT_LT(LocaleCompare("readme", "README"), 0);
  EXPECT_LT(LocaleCompare("Abc", "abd"), 0);
  // Equal only when identical, and antisymmetric.
  EXPECT_EQ(LocaleCompare("", ""), 0);
  EXPECT_EQ(LocaleCompare(kGuang + "A", kGuang + "A"), 0);
  EXPECT_EQ(Sign(LocaleCompare("a", "A")), -Sign(LocaleCompare("A", "a")));
  EXPECT_LT(LocaleCompare("", "a"), 0);
}

TEST(Collation, SortKeysOrderAsTheComparisonDoes) {
  const std::vector<std::string> names = {"", "a", "A", "ab", "B", "z", kA, kGuang, kGuang + "a", kZhong,
                                          "\x81", "\x82", "1", "_x", "a b"};
  for (const std::string& x : names)
    for (const std::string& y : names)
      EXPECT_EQ(Sign(CollationKey(x).compare(CollationKey(y))), Sign(LocaleCompare(x, y))) << x << " / " << y;
}

TEST(Collation, InvalidGbkStillOrdersByBytes) {
  // Both become "?" when decoded; the comparison must not call them equal.
  const std::string a = "\x81";
  const std::string b = "\x82";
  EXPECT_NE(LocaleCompare(a, b), 0);
  EXPECT_EQ(Sign(LocaleCompare(a, b)), -Sign(LocaleCompare(b, a)));
}

TEST(Collation, LowerAsciiLeavesTrailBytesAlone) {
  EXPECT_EQ(LowerAscii("ABC.TXT"), "abc.txt");
  EXPECT_EQ(LowerAscii("MiXeD 09_@[Z]"), "mixed 09_@[z]");
  // 丂 is 0x81 0x40, 丄 0x81 0x42 ('B'), 乗 0x81 0x5C: letters as trail bytes stay.
  EXPECT_EQ(LowerAscii("\x81\x42" "AB"), "\x81\x42" "ab");
  EXPECT_EQ(LowerAscii("X\x81Z\x81\x5C" "Y"), "x\x81Z\x81\x5C" "y");
  // A lead byte at the very end has no trail byte to protect.
  EXPECT_EQ(LowerAscii("A\x81"), "a\x81");
  EXPECT_EQ(LowerAscii(""), "");
}

}  // namespace
}  // namespace movra
