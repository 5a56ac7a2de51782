#include "platform/ByteSearch.h"

#include <gtest/gtest.h>

#include <string>

namespace movra {
namespace {

using namespace std::string_literals;

// The position of a hit, or -1 for none.
long At(const char* hit, const std::string& data) { return hit == nullptr ? -1 : static_cast<long>(hit - data.data()); }

TEST(ByteSearchTest, FindBytesGivesTheFirstPlaceOfTheNeedle) {
  const struct {
    std::string data, needle;
    long at;
  } cases[] = {
      {"abcabc", "abc", 0},       {"xxabcabc", "bca", 3},  {"abc", "c", 2},
      {"abc", "abcd", -1},        {"aaab", "aab", 1},      {"a\0b\0c"s, "b\0c"s, 2},
      {"\xB9\xE2\xC5\xCC", "\xC5\xCC", 2}, {"", "a", -1},  {"abc", "x", -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(At(FindBytes(c.data.data(), c.data.size(), c.needle.data(), c.needle.size()), c.data), c.at)
        << c.data << " / " << c.needle;
}

TEST(ByteSearchTest, FindLastByteGivesTheLastOneWithinTheSize) {
  const struct {
    std::string data;
    std::size_t size;
    char c;
    long at;
  } cases[] = {
      {"a\nb\nc", 5, '\n', 3}, {"a\nb\nc", 3, '\n', 1}, {"a\nb\nc", 1, '\n', -1},
      {"\nabc", 4, '\n', 0},   {"", 0, '\n', -1},       {"x\0y"s, 3, '\0', 1},
  };
  for (const auto& c : cases) EXPECT_EQ(At(FindLastByte(c.data.data(), c.size, c.c), c.data), c.at) << c.data;
}

}  // namespace
}  // namespace movra
