#include "search/TextFinder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace movra {
namespace {

constexpr size_t npos = std::string_view::npos;

TEST(TextFinder, FindsWithAndWithoutFolding) {
  const std::string text = "E:\\MUSIC\\Live at Home.mp3[1]2006/3/3\r\nE:\\x\\alive.MP3[2]2006/3/3\r\n";
  EXPECT_EQ(TextFinder("live", true).Find(text, 0), 9u);
  EXPECT_EQ(TextFinder("LIVE", true).Find(text, 10), text.find("alive") + 1);
  EXPECT_EQ(TextFinder("live", false).Find(text, 0), text.find("alive") + 1);
  EXPECT_EQ(TextFinder(".mp3", true).Find(text, 25), text.find(".MP3"));
  EXPECT_EQ(TextFinder("nothing", true).Find(text, 0), npos);
  EXPECT_EQ(TextFinder("", true).Find(text, 5), 5u);
  EXPECT_EQ(TextFinder("", true).Find(text, text.size() + 1), npos);
  EXPECT_EQ(TextFinder("x", true).Find("", 0), npos);
}

TEST(TextFinder, FoldingLeavesOtherBytesAlone) {
  // '@' | 0x20 is '`' and '[' | 0x20 is '{': neither may pass for the other.
  EXPECT_EQ(TextFinder("`", true).Find("@@@@@@@@@@@@@@@@@@@@", 0), npos);
  EXPECT_EQ(TextFinder("{a", true).Find(std::string(40, '[') + "A", 0), npos);
  EXPECT_EQ(TextFinder("\xB0\x61", true).Find(std::string(20, ' ') + "\xB0\x41", 0), 20u);
  EXPECT_EQ(TextFinder("\xB0\x61", false).Find(std::string(20, ' ') + "\xB0\x41", 0), npos);
}

// Every place compared byte by byte.
size_t Naive(std::string_view text, size_t from, std::string_view needle, bool fold) {
  auto f = [fold](char c) { return fold && c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  for (size_t i = from; i + needle.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < needle.size() && f(text[i + k]) == f(needle[k])) ++k;
    if (k == needle.size()) return i;
  }
  return npos;
}

TEST(TextFinder, AgreesWithAByteByByteSearchNearEveryBoundary) {
  std::mt19937 random(3);
  const std::string bytes = "aAbB@`[{\xB0";
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 70, ' ');
    for (char& c : text) c = bytes[random() % bytes.size()];
    std::string needle(1 + random() % 5, ' ');
    for (char& c : needle) c = bytes[random() % bytes.size()];
    const bool fold = random() % 2 == 0;
    const size_t from = text.empty() ? 0 : random() % text.size();
    ASSERT_EQ(TextFinder(needle, fold).Find(text, from), Naive(text, from, needle, fold))
        << "round " << round << " text " << text << " needle " << needle;
  }
}

}  // namespace
}  // namespace movra
