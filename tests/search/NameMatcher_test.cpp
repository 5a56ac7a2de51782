#include "search/NameMatcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>

namespace movra {
namespace {

bool Match(std::string_view pattern, std::string_view name, bool case_sensitive = true, bool literal = false) {
  NameMatcher matcher(pattern, {case_sensitive, literal});
  return matcher.Matches(name);
}

const std::string kGuang = "\xB9\xE2";  // 光
const std::string kLao = "\xB0\x41";    // 癆: its second byte is 'A'

TEST(NameMatcher, WildcardExamples) {
  struct Case {
    const char* pattern;
    std::string name;
    bool match;
  };
  const Case cases[] = {
      {"abc", "xxabcxx", true},   {"*abc", "xabcx", true},   {"abc*", "abcdef", true},
      {"a*c", "abc", true},       {"a*c", "abxcx", true},    {"a?c", "abc", true},
      {"a?c", "abcd", false},     {"a?c", "ac", false},      {"*a?c", "xabc", true},
      {"*a?c", "xabcx", false},   {"*", "anything", true},   {"*", "", true},
      {"??", kGuang, true},       {"??", "a", false},        {"?", kGuang, false},
      {"abc*", "abc", true},      {"*x", "", false},         {"a**c", "abbc", true},
      {"a*b*c", "aXbYc", true},   {"a*b*c", "aXcYb", false}, {"a*b*c", "abcZ", true},
      {"a*?c", "abcc", true},     {"a*?c", "abcx", false},   {"*b?", "abcabc", true},
      {"*b?", "abcab", false},    {"*b?", "abcb", false},    {"*b?", "abcbc", true},
      {"?*", "", false},          {"?*", "a", true},         {"*?*", "", false},
  };
  for (const Case& c : cases) EXPECT_EQ(Match(c.pattern, c.name), c.match) << c.pattern << " / " << c.name;
}

TEST(NameMatcher, PlainTextIsASubstringTestAndTheEmptyTextMatchesAll) {
  EXPECT_TRUE(Match("abc", "abc"));
  EXPECT_FALSE(Match("abc", "ab"));
  EXPECT_TRUE(Match("", ""));
  EXPECT_TRUE(Match("", "a"));
  EXPECT_TRUE(Match("*.mp3", "a.mp3"));
  EXPECT_TRUE(Match("*.mp3", "a.mp3.bak"));  // the rest after '*' is a substring test
  EXPECT_FALSE(Match("*.mp3", "a.mp"));
}

TEST(NameMatcher, LiteralOptionTakesWildcardsAsOrdinaryBytes) {
  EXPECT_FALSE(Match("*.mp3", "a.mp3", true, true));
  EXPECT_TRUE(Match("*.mp3", "x*.mp3.bak", true, true));
  EXPECT_FALSE(Match("a?c", "abc", true, true));
  EXPECT_TRUE(Match("a?c", "[a?c]", true, true));
  EXPECT_TRUE(Match("ABC", "xabcx", false, true));
}

TEST(NameMatcher, CaseOption) {
  EXPECT_TRUE(Match("abc", "XABC", false));
  EXPECT_FALSE(Match("abc", "XABC", true));
  EXPECT_TRUE(Match("ABC", "xabc", false));
  EXPECT_FALSE(Match("A?C", "xabc", false));  // wildcard: anchored at both ends
  EXPECT_TRUE(Match("*A?C", "xabc", false));
  EXPECT_TRUE(Match("*.MP3", "SONG.mp3", false));
}

TEST(NameMatcher, CaseFoldingNeverTouchesTheSecondByteOfAChineseCharacter) {
  // 癆 is B0 41: its 'A' is not a letter and must not become 'a'.
  EXPECT_FALSE(Match("a", kLao, false));
  EXPECT_FALSE(Match("?a", kLao, false));
  EXPECT_TRUE(Match(kLao, kLao, false));
  EXPECT_TRUE(Match("x" + kLao, "X" + kLao, false));
  EXPECT_TRUE(Match("*" + kLao + "a", kGuang + kLao + "A", false));
  // A lead byte after a single letter still pairs with what follows it.
  EXPECT_TRUE(Match("a" + kLao, "A" + kLao, false));
  // Compared byte by byte, a case-sensitive 'A' is found in the character.
  EXPECT_TRUE(Match("A", kLao, true));
}

TEST(NameMatcher, QuestionMarkTakesOneByteOfADoubleByteCharacter) {
  EXPECT_TRUE(Match("?\xE2", kGuang));
  EXPECT_TRUE(Match("??" + kGuang, kGuang + kGuang));
  EXPECT_FALSE(Match("???", kGuang));
}

TEST(NameMatcher, ManyStarsStayFast) {
  std::string pattern;
  for (int i = 0; i < 40; ++i) pattern += "*a";
  pattern += "*b?";
  const std::string name(5000, 'a');
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(Match(pattern, name));
  EXPECT_TRUE(Match(pattern, name + "bc"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

// The wildcard match, step by step, with each '*' trying every tail.
bool Reference(std::string_view n, std::string_view p) {
  if (p.find_first_of("*?") == std::string_view::npos) return n.find(p) != std::string_view::npos;
  size_t i = 0;
  for (size_t k = 0; k < p.size(); ++k) {
    if (p[k] == '*') {
      for (size_t j = i; j < n.size(); ++j)
        if (Reference(n.substr(j), p.substr(k + 1))) return true;
      i = n.size();
    } else if (p[k] == '?') {
      if (++i > n.size()) return false;
    } else {
      if (i == n.size() || n[i] != p[k]) return false;
      ++i;
    }
  }
  return i == n.size();
}

TEST(NameMatcher, AgreesWithTheStepByStepMatchOnRandomTexts) {
  std::mt19937 random(11);
  const std::string name_bytes = "abAB\xB0";
  const std::string pattern_bytes = "abAB**??\xB0";
  std::string folded_name, folded_pattern;
  for (int round = 0; round < 50000; ++round) {
    std::string name(random() % 9, ' ');
    for (char& c : name) c = name_bytes[random() % name_bytes.size()];
    std::string pattern(random() % 7, ' ');
    for (char& c : pattern) c = pattern_bytes[random() % pattern_bytes.size()];
    const bool case_sensitive = random() % 2 == 0;
    FoldAsciiCase(name, folded_name);
    FoldAsciiCase(pattern, folded_pattern);
    const bool expected = case_sensitive ? Reference(name, pattern) : Reference(folded_name, folded_pattern);
    ASSERT_EQ(Match(pattern, name, case_sensitive), expected)
        << "pattern " << pattern << " name " << name << " case " << case_sensitive;
  }
}

}  // namespace
}  // namespace movra
