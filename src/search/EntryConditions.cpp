#include "search/EntryConditions.h"

#include <limits>

#include "platform/TextCodec.h"

namespace movra {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

// Bytes per unit for the unit letter; 0 when it is none.
std::int64_t UnitBytes(char letter) {
  switch (Lower(letter)) {
    case 'k': return std::int64_t{1} << 10;
    case 'm': return std::int64_t{1} << 20;
    case 'g': return std::int64_t{1} << 30;
    case 't': return std::int64_t{1} << 40;
    default: return 0;
  }
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// message's prefix, then the text between GBK quotation marks “ ”.
std::string Quoted(const char* utf8_prefix, std::string_view text) {
  std::string message = Utf8ToGbk(utf8_prefix) + "\xA1\xB0";
  message.append(text);
  return message + "\xA1\xB1";
}

}  // namespace

std::optional<std::int64_t> ParseSizeText(std::string_view text) {
  text = Trimmed(text);
  constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
  size_t pos = 0;
  std::int64_t whole = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    const int digit = text[pos] - '0';
    if (whole > (kMost - digit) / 10) return std::nullopt;
    whole = whole * 10 + digit;
  }
  if (pos == 0) return std::nullopt;
  // Up to six decimals count (a millionth of a terabyte is about a megabyte);
  // further digits are read and dropped.
  std::int64_t fraction = 0;
  std::int64_t scale = 1;
  const bool has_point = pos < text.size() && text[pos] == '.';
  if (has_point) {
    const size_t first = ++pos;
    for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
      if (scale == 1'000'000) continue;
      fraction = fraction * 10 + (text[pos] - '0');
      scale *= 10;
    }
    if (pos == first) return std::nullopt;
  }
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  std::int64_t unit = 1;
  if (pos < text.size() && UnitBytes(text[pos]) != 0) unit = UnitBytes(text[pos++]);
  if (pos < text.size() && Lower(text[pos]) == 'b') ++pos;
  if (pos != text.size()) return std::nullopt;
  if (has_point && unit == 1) return std::nullopt;  // no fraction of a byte
  if (whole > kMost / unit) return std::nullopt;
  const std::int64_t bytes = whole * unit;
  // fraction < 10^6 < 2^20 and unit <= 2^40: the product fits; rounded to the nearest byte.
  const std::int64_t part = (fraction * unit + scale / 2) / scale;
  if (bytes > kMost - part) return std::nullopt;
  return bytes + part;
}

std::optional<DateTime> ParseDateText(std::string_view text) { return TryTextToDateTime(Trimmed(text)); }

std::string BadSizeMessage(std::string_view text) { return Quoted("无法识别的大小", text); }

std::string BadDateMessage(std::string_view text) { return Quoted("无法识别的日期", text); }

std::string SizeConditionText(std::int64_t bytes) {
  static constexpr const char* kUnits[] = {"B", "KB", "MB", "GB", "TB"};
  int unit = 0;
  while (unit < 4 && bytes != 0 && bytes % 1024 == 0) {
    bytes /= 1024;
    ++unit;
  }
  return std::to_string(bytes) + " " + kUnits[unit];
}

std::string ConditionsText(const EntryConditions& conditions) {
  std::string text;
  if (conditions.min_size) text += "，大小 ≥ " + SizeConditionText(*conditions.min_size);
  if (conditions.max_size) text += "，大小 ≤ " + SizeConditionText(*conditions.max_size);
  if (conditions.after) text += "，修改于 " + DateTimeToText(*conditions.after) + " 之后";
  if (conditions.before) text += "，修改于 " + DateTimeToText(*conditions.before) + " 之前";
  if (conditions.kinds == EntryKinds::kFiles) text += "，只找文件";
  if (conditions.kinds == EntryKinds::kFolders) text += "，只找文件夹";
  return Utf8ToGbk(text);
}

}  // namespace movra
