// Decides whether an entry name matches the search text of one search.
// Names and the search text are GBK bytes compared one byte at a time, so a
// double-byte character counts as two bytes (and '?' takes one of them).
//
// Wildcard match of a name N against a pattern P: a pattern without '*' and
// '?' matches every name that contains it. Otherwise P is matched from the
// start of N byte by byte, '?' taking any one byte, and each '*' succeeds when
// the rest of the pattern, taken as a pattern of its own, matches some tail of
// N from the current position on; a pattern whose bytes run out matches only
// at the end of N. So "*.mp3" finds "a.mp3.bak" (the rest ".mp3" has no
// wildcard and is a substring test) while "*a?c" does not find "xabcx".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "search/EntryConditions.h"

namespace movra {

// How a search compares names with its search text.
struct MatchOptions {
  bool case_sensitive = false;  // off: ASCII A-Z of single-byte characters compare as a-z
  bool literal = false;         // on: '*' and '?' are ordinary bytes (substring test)
};

class NameMatcher {
 public:
  // Prepares the search text for many names; conditions are what a matching
  // entry must meet besides its name, which the line searches check.
  NameMatcher(std::string_view search_text, MatchOptions options, EntryConditions conditions = {});

  // True when the name matches. Not thread-safe: folds names into a reused buffer.
  bool Matches(std::string_view name);

  // A run of bytes that every matching name contains (lower-cased when names
  // are folded); empty when the search text has none. Lets a caller skip
  // text that cannot hold a match before taking it apart.
  std::string_view RequiredText() const { return required_; }
  // True when names are lower-cased before they are compared; false also for
  // a case-insensitive search whose text holds no ASCII letter.
  bool FoldsNames() const { return fold_names_; }
  // The conditions beyond the name.
  const EntryConditions& Conditions() const { return conditions_; }

 private:
  // One run of the pattern between two '*' (or an end of the pattern).
  struct Segment {
    std::string bytes;
    bool has_question = false;
  };

  bool MatchesFolded(std::string_view name) const;
  bool MatchesWildcard(std::string_view name) const;

  std::string pattern_;            // lower-cased when the search is case-insensitive
  bool fold_names_ = false;        // names need folding before they are compared
  bool substring_ = true;          // a plain substring test decides
  std::vector<Segment> segments_;  // the pattern split at every '*' (wildcard searches)
  std::string required_;           // the longest run of the pattern without wildcards
  std::string folded_;             // reused buffer for a lower-cased name
  EntryConditions conditions_;
};

// Lower-cases ASCII A-Z of single-byte characters of a GBK text into out;
// a byte following a lead byte 0x81-0xFE is copied unchanged.
void FoldAsciiCase(std::string_view gbk, std::string& out);

}  // namespace movra
