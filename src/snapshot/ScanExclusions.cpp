#include "snapshot/ScanExclusions.h"

#include "catalog/NameRules.h"
#include "platform/TextCodec.h"

namespace movra {

ScanExclusions::ScanExclusions(const std::vector<std::string>& patterns) {
  for (const std::string& pattern : patterns) {
    // An empty pattern would match every name and leave out the whole disc.
    if (pattern.empty()) continue;
    matchers_.emplace_back(pattern, MatchOptions{});
  }
}

bool ScanExclusions::Excludes(std::string_view recorded_name) const {
  for (NameMatcher& matcher : matchers_) {
    if (matcher.Matches(recorded_name)) return true;
  }
  return false;
}

std::vector<std::string> SplitExclusionText(std::string_view text) {
  std::vector<std::string> patterns;
  std::size_t start = 0;
  while (start <= text.size()) {
    // ';', CR and LF are single-byte in GBK and never a trail byte.
    std::size_t end = text.find_first_of(";\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view part = text.substr(start, end - start);
    while (!part.empty() && (part.front() == ' ' || part.front() == '\t')) part.remove_prefix(1);
    while (!part.empty() && (part.back() == ' ' || part.back() == '\t')) part.remove_suffix(1);
    if (!part.empty()) patterns.emplace_back(part);
    start = end + 1;
  }
  return patterns;
}

std::string JoinExclusionText(const std::vector<std::string>& patterns) {
  std::string text;
  for (const std::string& pattern : patterns) {
    if (!text.empty()) text += "; ";
    text += pattern;
  }
  return text;
}

std::optional<std::vector<std::string>> GbkExclusionPatterns(const std::vector<std::string>& utf8_patterns) {
  std::vector<std::string> patterns;
  for (const std::string& pattern : utf8_patterns) {
    std::optional<std::string> gbk = GbkFormOf(pattern);
    if (!gbk) return std::nullopt;
    patterns.push_back(std::move(*gbk));
  }
  return patterns;
}

std::optional<std::vector<std::string>> ExclusionFieldPatterns(std::string_view utf8_field) {
  // ';' and line breaks are single bytes in UTF-8 as in GBK: the split is the same.
  return GbkExclusionPatterns(SplitExclusionText(utf8_field));
}

std::string UnholdableExclusionMessage() { return Utf8ToGbk("排除的名称包含 GBK 无法表示的字符！"); }

}  // namespace movra
