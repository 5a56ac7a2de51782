#include "search/EntryConditions.h"

#include <gtest/gtest.h>

#include "platform/TextCodec.h"

namespace movra {
namespace {

constexpr std::int64_t kK = 1024, kM = kK * 1024, kG = kM * 1024, kT = kG * 1024;

TEST(SizeText, ReadsBytesAndBinaryUnitsAndRefusesTheRest) {
  struct Case {
    const char* text;
    std::optional<std::int64_t> bytes;
  };
  const Case cases[] = {
      {"0", 0},
      {"1048576", kM},
      {"700M", 700 * kM},
      {"700mb", 700 * kM},
      {" 1.5 GB ", kG + kG / 2},
      {"100K", 100 * kK},
      {"100kB", 100 * kK},
      {"2t", 2 * kT},
      {"12B", 12},
      {"0.5k", 512},
      {"1.0000004K", 1024},  // digits beyond the sixth decimal are dropped
      {"9223372036854775807", 9223372036854775807},
      {"7OOM", std::nullopt},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"M", std::nullopt},
      {"-5", std::nullopt},
      {"1.5", std::nullopt},  // no fraction of a byte
      {"1.", std::nullopt},
      {".5M", std::nullopt},
      {"5X", std::nullopt},
      {"5MBB", std::nullopt},
      {"5 M B", std::nullopt},
      {"9223372036854775808", std::nullopt},
      {"8388608T", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseSizeText(c.text), c.bytes) << c.text;
}

TEST(DateText, ReadsADayOrAnInstantAndRefusesTheRest) {
  struct Case {
    const char* text;
    std::optional<DateTimeParts> parts;
  };
  const Case cases[] = {
      {"2006-3-3", DateTimeParts{2006, 3, 3, 0, 0, 0}},
      {"2006/03/03", DateTimeParts{2006, 3, 3, 0, 0, 0}},
      {" 2006/3/3 9:07 ", DateTimeParts{2006, 3, 3, 9, 7, 0}},
      {"2006-3-3 9:07:02", DateTimeParts{2006, 3, 3, 9, 7, 2}},
      {"2004-2-29", DateTimeParts{2004, 2, 29, 0, 0, 0}},
      {"2006-3/3", std::nullopt},
      {"2005-2-29", std::nullopt},
      {"2006-13-1", std::nullopt},
      {"2006-3-3 24:00", std::nullopt},
      {"2006-3-3T9:07", std::nullopt},
      {"3/3/2006", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<DateTime> value = ParseDateText(c.text);
    ASSERT_EQ(value.has_value(), c.parts.has_value()) << c.text;
    if (value) {
      EXPECT_EQ(*value, EncodeDateTime(*c.parts)) << c.text;
    }
  }
}

TEST(EntryConditionsTest, BadTextsAreNamedInTheMessage) {
  EXPECT_EQ(GbkToUtf8(BadSizeMessage("7OOM")), "无法识别的大小“7OOM”");
  EXPECT_EQ(GbkToUtf8(BadDateMessage("2006-13-1")), "无法识别的日期“2006-13-1”");
}

TEST(EntryConditionsTest, EachConditionIsNamedInTheSummary) {
  struct Case {
    EntryConditions conditions;
    const char* text;
  };
  const DateTime day = EncodeDateTime({2006, 3, 3, 0, 0, 0});
  const Case cases[] = {
      {{}, ""},
      {{700 * kM, std::nullopt, day, std::nullopt, EntryKinds::kFiles}, "，大小 ≥ 700 MB，修改于 2006/3/3 之后，只找文件"},
      {{std::nullopt, kG + kG / 2, std::nullopt, day + 0.5, EntryKinds::kFolders},
       "，大小 ≤ 1536 MB，修改于 2006/3/3 12:00:00 之前，只找文件夹"},
      {{100, 3 * kT}, "，大小 ≥ 100 B，大小 ≤ 3 TB"},
  };
  for (const Case& c : cases) EXPECT_EQ(GbkToUtf8(ConditionsText(c.conditions)), c.text);
}

TEST(EntryConditionsTest, BoundsAreInclusiveExceptBeforeAndAFolderHasNoSize) {
  const EntryConditions sized{10, 20};
  EXPECT_TRUE(sized.AdmitsKindAndSize(true, 10));
  EXPECT_TRUE(sized.AdmitsKindAndSize(true, 20));
  EXPECT_FALSE(sized.AdmitsKindAndSize(true, 21));
  EXPECT_FALSE(sized.AdmitsKindAndSize(false, 0));
  EXPECT_TRUE((EntryConditions{std::nullopt, 20}).AdmitsKindAndSize(false, 0));
  const EntryConditions dated{std::nullopt, std::nullopt, 100.0, 200.0};
  EXPECT_TRUE(dated.AdmitsTime(100.0));
  EXPECT_FALSE(dated.AdmitsTime(200.0));
  EXPECT_FALSE(dated.AdmitsTime(99.9));
}

}  // namespace
}  // namespace movra
