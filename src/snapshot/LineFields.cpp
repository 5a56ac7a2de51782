#include "snapshot/LineFields.h"

#include <cstring>
#include <limits>

#include "platform/ByteSearch.h"

namespace movra {
namespace {

constexpr size_t npos = std::string_view::npos;

// The last position before end that holds the marker byte c as a character
// of its own (not as the second byte of a double-byte character), or npos.
size_t LastMarker(std::string_view line, size_t end, char c) {
  while (end > 0) {
    const char* hit = FindLastByte(line.data(), end, c);
    if (hit == nullptr) return npos;
    const size_t pos = static_cast<size_t>(hit - line.data());
    if (!IsTrailByte(line, pos)) return pos;
    end = pos;
  }
  return npos;
}

bool IsCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// atol on a 64-bit integer: leading white space, one sign, the digits up to
// the first non-digit; no digits give 0. Values beyond the range saturate.
std::int64_t ParseLong(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && IsCSpace(text[pos])) ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  // Accumulate towards the negative side, which holds one more value.
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  std::int64_t value = 0;
  bool overflow = false;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    const int digit = text[pos] - '0';
    if (value < (kMin + digit) / 10) overflow = true;
    if (!overflow) value = value * 10 - digit;
  }
  if (overflow) return negative ? kMin : std::numeric_limits<std::int64_t>::max();
  if (negative) return value;
  return value == kMin ? std::numeric_limits<std::int64_t>::max() : -value;
}

// The start of the name: after the last bar, or the last backslash when there is none.
size_t NameStart(const LineMarkers& m) {
  const size_t b = m.last_bar != npos ? m.last_bar : m.last_backslash;
  return b == npos ? 0 : b + 1;
}

}  // namespace

LineMarkers FindMarkers(std::string_view line) {
  LineMarkers m;
  m.last_close = LastMarker(line, line.size(), ']');
  m.last_open = LastMarker(line, line.size(), '[');
  m.last_backslash = LastMarker(line, line.size(), '\\');
  m.last_bar = LastMarker(line, line.size(), '|');
  return m;
}

bool LineIsFile(std::string_view line) { return LastMarker(line, line.size(), '|') == npos; }

std::string_view LineFolder(std::string_view line) {
  const size_t b = LastMarker(line, line.size(), '\\');
  return b == npos ? std::string_view() : line.substr(0, b + 1);
}

std::string_view LineFolder(std::string_view line, const LineMarkers& m) {
  return m.last_backslash == npos ? std::string_view() : line.substr(0, m.last_backslash + 1);
}

std::string_view LineName(std::string_view line) {
  // Only the markers the name needs: the backslash only without a bar.
  LineMarkers m;
  m.last_bar = LastMarker(line, line.size(), '|');
  if (m.last_bar == npos) m.last_backslash = LastMarker(line, line.size(), '\\');
  m.last_open = LastMarker(line, line.size(), '[');
  return LineName(line, m);
}

std::string_view LineName(std::string_view line, const LineMarkers& m) {
  const size_t start = NameStart(m);
  const size_t end = m.last_open != npos && m.last_open >= start ? m.last_open : line.size();
  return line.substr(start, end - start);
}

std::int64_t LineSize(std::string_view line) { return LineSize(line, FindMarkers(line)); }

std::int64_t LineSize(std::string_view line, const LineMarkers& m) {
  if (m.last_open == npos || m.last_close == npos || m.last_close < m.last_open) return 0;
  return ParseLong(line.substr(m.last_open + 1, m.last_close - m.last_open - 1));
}

std::int64_t RestoreWrappedSize(std::int64_t size) {
  constexpr std::int64_t kWrap = std::int64_t{1} << 32;
  return size < 0 && size >= -kWrap / 2 ? size + kWrap : size;
}

std::int64_t EntrySize(std::string_view line, const LineMarkers& m) {
  return LineIsFile(m) ? RestoreWrappedSize(LineSize(line, m)) : 0;
}

DateTime LineTime(std::string_view line) { return LineTime(line, FindMarkers(line)); }

DateTime LineTime(std::string_view line, const LineMarkers& m) {
  return TextToDateTime(m.last_close == npos ? line : line.substr(m.last_close + 1));
}

}  // namespace movra
