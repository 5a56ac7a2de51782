// The name matcher against a plain recursive reading of its rules.
#include "fuzz/FuzzSupport.h"
#include "search/NameMatcher.h"

#include <algorithm>

namespace {

bool Matches(std::string_view name, std::string_view pattern);

// The pattern matched from the start of the name byte by byte; a '*' asks
// whether the rest, as a pattern of its own, matches some tail from there on.
bool Anchored(std::string_view name, std::string_view pattern) {
  size_t i = 0;
  for (size_t j = 0; j < pattern.size(); ++j) {
    if (pattern[j] == '*') {
      for (size_t k = i; k <= name.size(); ++k)
        if (Matches(name.substr(k), pattern.substr(j + 1))) return true;
      return false;
    }
    if (i >= name.size() || (pattern[j] != '?' && pattern[j] != name[i])) return false;
    ++i;
  }
  return i == name.size();
}

bool Matches(std::string_view name, std::string_view pattern) {
  if (pattern.find_first_of("*?") == std::string_view::npos) return name.find(pattern) != std::string_view::npos;
  return Anchored(name, pattern);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace movra;
  fuzz::Fields fields(data, size);
  const std::uint8_t options = fields.Byte();
  std::string pattern(fields.Next());
  // The reference takes exponential time on many stars; names are short.
  if (pattern.size() > 24 || std::count(pattern.begin(), pattern.end(), '*') > 4) return 0;
  const MatchOptions match{(options & 1) != 0, (options & 2) != 0};
  NameMatcher matcher(pattern, match);
  std::string folded_pattern = pattern;
  if (!match.case_sensitive) FoldAsciiCase(pattern, folded_pattern);
  for (int n = 0; n < 8 && !fields.Rest().empty(); ++n) {
    const std::string_view name = fields.Next();
    if (name.size() > 96) continue;
    std::string folded(name);
    if (!match.case_sensitive) FoldAsciiCase(name, folded);
    const bool expected = match.literal ? folded.find(folded_pattern) != std::string::npos
                                        : Matches(folded, folded_pattern);
    FUZZ_CHECK(matcher.Matches(name) == expected);
    // A matching name holds the text every match requires.
    if (expected) FUZZ_CHECK(folded.find(matcher.RequiredText()) != std::string::npos);
  }
  return 0;
}
