// Name rules on GBK byte strings, and default category names.
#include "catalog/NameRules.h"

#include <gtest/gtest.h>

#include "catalog/CatalogueDocument.h"
#include "catalog/DefaultNames.h"
#include "support/TempDir.h"

namespace movra {
namespace {

const std::string kMyDisc = "\xCE\xD2\xB5\xC4\xB9\xE2\xC5\xCC_000";  // 我的光盘_000

bool IsValid(std::string_view name) { return CleanName(name) == name; }

TEST(NameRules, KeepsChineseLatinDigitsAndThreeMarks) {
  EXPECT_TRUE(IsValid(""));
  EXPECT_TRUE(IsValid(kMyDisc));
  EXPECT_TRUE(IsValid("Disc-1.2_b"));
  // The first and the last Chinese character of GB2312.
  EXPECT_TRUE(IsValid("\xB0\xA1\xF7\xFE"));
}

TEST(NameRules, DropsBlanksPunctuationAndFullWidthForms) {
  EXPECT_EQ(CleanName("two words"), "twowords");
  EXPECT_EQ(CleanName("a\\b:c/d*e?f\"g<h>i|j\tk"), "abcdefghijk");
  // Full-width 0, A and a are dropped, the half-width forms kept.
  EXPECT_EQ(CleanName("\xA3\xB0" "0\xA3\xC1" "A\xA3\xE1" "a"), "0Aa");
  // Full-width space, the full-width comma and the ideographic full stop.
  EXPECT_EQ(CleanName("\xA1\xA1" "a\xA3\xAC" "b\xA1\xA3"), "ab");
  // Rows 0xF8-0xFE hold no GB2312 characters.
  EXPECT_EQ(CleanName("\xF8\xA1" "a\xFE\xFE"), "a");
  // Row 0xD7 stops at 0xD7F9 (座); the five places after it hold nothing.
  EXPECT_EQ(CleanName("\xD7\xF9\xD7\xFA\xD7\xFE"), "\xD7\xF9");
}

TEST(NameRules, JudgesBytesOutsideGb2312PairsAlone) {
  // A lone lead byte at the end pairs with nothing.
  EXPECT_EQ(CleanName("ab\xB0"), "ab");
  // A GBK character outside GB2312 whose trail byte is a letter leaves the letter.
  EXPECT_EQ(FilterName("\x81\x41" "b"), "Ab");
  EXPECT_FALSE(IsValid("\x81\x41"));
  // 0xB0 followed by an ASCII byte is no pair: the ASCII byte stays.
  EXPECT_EQ(FilterName("\xB0" "a\xB0\xA1"), "a\xB0\xA1");
  // 0x80 and 0xFF never start a pair.
  EXPECT_EQ(FilterName("\x80\xB0\xA1\xFF"), "\xB0\xA1");
  // Bytes after a zero byte do not count.
  EXPECT_EQ(CleanName(std::string("ab\0cd", 5)), "ab");
  EXPECT_FALSE(IsValid(std::string("ab\0cd", 5)));
}

TEST(NameRules, PairsAreTakenFromTheLeft) {
  // A stray 0xA1 before 啊 (0xB0 0xA1) pairs with its lead byte: both pairs go.
  EXPECT_EQ(CleanName("\xA1\xB0\xA1"), "");
  EXPECT_EQ(CleanName("a\xA1\xB0\xA1\xB0\xA1"), "a");
  // One pass leaves nothing for a second one.
  const std::string mixed = "x \xB0\xA1\x81\x41\xA3\xB0-\xB0";
  EXPECT_EQ(FilterName(FilterName(mixed)), FilterName(mixed));
  EXPECT_EQ(CleanName(mixed), "x\xB0\xA1" "A-");
}

TEST(DefaultNames, TakeTheSmallestFreeNumber) {
  test::TempDir dir;
  CatalogueDocument doc;
  ASSERT_TRUE(doc.Open(dir / "Movra.xml"));
  Element cdlist = doc.CdList();
  const std::string main(kMainCategoryBase);
  EXPECT_EQ(NextDefaultCategoryName(cdlist, kMainCategoryBase), main + "0");
  doc.GetOrAddChild(cdlist, "T_" + main + "0");
  doc.GetOrAddChild(cdlist, "T_" + main + "2");
  doc.GetOrAddChild(cdlist, "D_" + main + "1");  // a disc of that name does not count
  EXPECT_EQ(NextDefaultCategoryName(cdlist, kMainCategoryBase), main + "1");
  doc.GetOrAddChild(cdlist, "T_" + main + "1");
  EXPECT_EQ(NextDefaultCategoryName(cdlist, kMainCategoryBase), main + "3");

  // Sub-categories count among the children of their own main category only.
  Element parent = CatalogueDocument::FindChild(cdlist, "T_" + main + "0");
  const std::string sub(kSubCategoryBase);
  doc.GetOrAddChild(CatalogueDocument::FindChild(cdlist, "T_" + main + "2"), "T_" + sub + "0");
  EXPECT_EQ(NextDefaultCategoryName(parent, kSubCategoryBase), sub + "0");
  EXPECT_EQ(NextDefaultCategoryName(Element(), kSubCategoryBase), sub + "0");
  EXPECT_TRUE(IsValid(sub + "0"));
}

}  // namespace
}  // namespace movra
