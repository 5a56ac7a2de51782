// Names a scan leaves out: patterns in the search's "*"/"?" syntax, each
// matched against an entry's recorded name as the search matches names
// (ASCII letters without regard to case). A folder left out takes
// everything below it along. Patterns are GBK.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/NameMatcher.h"

namespace movra {

class ScanExclusions {
 public:
  // Leaves nothing out.
  ScanExclusions() = default;
  // Leaves out the names that match any of patterns; empty patterns are dropped.
  explicit ScanExclusions(const std::vector<std::string>& patterns);

  // True when nothing is left out.
  bool Empty() const { return matchers_.empty(); }
  // True when an entry with this recorded name is left out. Not thread-safe.
  bool Excludes(std::string_view recorded_name) const;

 private:
  mutable std::vector<NameMatcher> matchers_;  // the matcher folds names into its own buffer
};

// The patterns of an exclusion field ("*.tmp; Thumbs.db"): split at ';' and
// line breaks, blanks around each trimmed, empty ones dropped.
std::vector<std::string> SplitExclusionText(std::string_view text);

// The field text of patterns: joined by "; ".
std::string JoinExclusionText(const std::vector<std::string>& patterns);

// Patterns typed as UTF-8, in GBK; nullopt when GBK cannot hold one of them
// (a '?' in its place would match more than the user meant).
std::optional<std::vector<std::string>> GbkExclusionPatterns(const std::vector<std::string>& utf8_patterns);

// The patterns of an exclusion field typed as UTF-8 (SplitExclusionText), in
// GBK; nullopt as for GbkExclusionPatterns.
std::optional<std::vector<std::string>> ExclusionFieldPatterns(std::string_view utf8_field);

// The message that refuses such patterns (GBK).
std::string UnholdableExclusionMessage();

}  // namespace movra
