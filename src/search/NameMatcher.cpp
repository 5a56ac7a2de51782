#include "search/NameMatcher.h"

#include <algorithm>
#include <cstring>

#include "platform/ByteSearch.h"
#include "platform/Collation.h"

namespace movra {
namespace {

constexpr size_t npos = std::string_view::npos;

bool IsLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The first position at or after from where needle occurs in text, or npos.
size_t FindBytes(std::string_view text, size_t from, std::string_view needle) {
  if (needle.empty()) return from <= text.size() ? from : npos;
  if (from >= text.size()) return npos;
  const char* hit = movra::FindBytes(text.data() + from, text.size() - from, needle.data(), needle.size());
  return hit == nullptr ? npos : static_cast<size_t>(hit - text.data());
}

// True when the segment's bytes match the text at pos, '?' taking any byte.
bool SegmentMatchesAt(std::string_view text, size_t pos, std::string_view segment, bool has_question) {
  if (pos > text.size() || text.size() - pos < segment.size()) return false;
  if (!has_question) return std::memcmp(text.data() + pos, segment.data(), segment.size()) == 0;
  for (size_t k = 0; k < segment.size(); ++k)
    if (segment[k] != '?' && segment[k] != text[pos + k]) return false;
  return true;
}

}  // namespace

void FoldAsciiCase(std::string_view gbk, std::string& out) {
  out.resize(gbk.size());
  const size_t n = gbk.size();
  for (size_t i = 0; i < n; ++i) {
    const auto b = static_cast<unsigned char>(gbk[i]);
    if (IsLeadByte(b) && i + 1 < n) {
      out[i] = gbk[i];
      ++i;
      out[i] = gbk[i];
      continue;
    }
    out[i] = static_cast<char>(b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b);
  }
}

NameMatcher::NameMatcher(std::string_view search_text, MatchOptions options, EntryConditions conditions)
    : pattern_(options.case_sensitive ? std::string(search_text) : LowerAscii(search_text)),
      conditions_(conditions) {
  // Folding a name only turns single-byte A-Z into a-z; when the search text
  // holds no ASCII letter at all, folded and unfolded names match alike.
  if (!options.case_sensitive) {
    for (char c : pattern_)
      if (IsAsciiLetter(c)) fold_names_ = true;
  }
  substring_ = options.literal || pattern_.find_first_of("*?") == npos;
  if (substring_) {
    required_ = pattern_;
    return;
  }

  size_t start = 0;
  while (true) {
    const size_t star = pattern_.find('*', start);
    const size_t end = star == npos ? pattern_.size() : star;
    Segment segment;
    segment.bytes = pattern_.substr(start, end - start);
    segment.has_question = segment.bytes.find('?') != npos;
    for (size_t from = 0; from < segment.bytes.size();) {
      const size_t question = std::min(segment.bytes.find('?', from), segment.bytes.size());
      if (question - from > required_.size()) required_ = segment.bytes.substr(from, question - from);
      from = question + 1;
    }
    segments_.push_back(std::move(segment));
    if (star == npos) break;
    start = star + 1;
  }
}

bool NameMatcher::Matches(std::string_view name) {
  if (!fold_names_) return MatchesFolded(name);
  FoldAsciiCase(name, folded_);
  return MatchesFolded(folded_);
}

bool NameMatcher::MatchesFolded(std::string_view name) const {
  if (substring_) return FindBytes(name, 0, pattern_) != npos;
  return MatchesWildcard(name);
}

// The pattern is seg0 * seg1 * ... * segK with at least one wildcard.
// Without '*' it must cover the name exactly. Otherwise seg0 is anchored at
// the start; each '*' asks whether the rest of the pattern matches some tail
// from the current position on. A rest that begins with a segment and goes on
// with another '*' is best served by the leftmost place of that segment,
// because whatever the rest after it can match from a later position it can
// also match from an earlier one. The last segment, the rest after the last
// '*', is a substring test when it has no '?', and must end the name when it
// has one.
bool NameMatcher::MatchesWildcard(std::string_view name) const {
  const Segment& first = segments_.front();
  if (segments_.size() == 1) {
    return name.size() == first.bytes.size() && SegmentMatchesAt(name, 0, first.bytes, true);
  }
  if (!SegmentMatchesAt(name, 0, first.bytes, first.has_question)) return false;
  size_t pos = first.bytes.size();
  const size_t last = segments_.size() - 1;
  for (size_t j = 1; j < last; ++j) {
    const Segment& segment = segments_[j];
    if (!segment.has_question) {
      const size_t hit = FindBytes(name, pos, segment.bytes);
      if (hit == npos) return false;
      pos = hit + segment.bytes.size();
      continue;
    }
    while (!SegmentMatchesAt(name, pos, segment.bytes, true)) {
      if (name.size() - pos <= segment.bytes.size()) return false;
      ++pos;
    }
    pos += segment.bytes.size();
  }
  const Segment& tail = segments_[last];
  if (!tail.has_question) return FindBytes(name, pos, tail.bytes) != npos;
  if (name.size() < pos + tail.bytes.size()) return false;
  return SegmentMatchesAt(name, name.size() - tail.bytes.size(), tail.bytes, true);
}

}  // namespace movra
