#include "workflows/DiscEntry.h"

namespace movra {

namespace {

// 光盘编号：
constexpr std::string_view kNumberLine = "\xB9\xE2\xC5\xCC\xB1\xE0\xBA\xC5\xA3\xBA";
// 光盘位置：1号CD盒
constexpr std::string_view kPlaceLine =
    "\xB9\xE2\xC5\xCC\xCE\xBB\xD6\xC3\xA3\xBA"
    "1\xBA\xC5"
    "CD\xBA\xD0";
// 光盘卷号：
constexpr std::string_view kSerialPrefix = "\xB9\xE2\xC5\xCC\xBE\xED\xBA\xC5\xA3\xBA";
// 光盘卷标：
constexpr std::string_view kLabelPrefix = "\xB9\xE2\xC5\xCC\xBE\xED\xB1\xEA\xA3\xBA";

// True when the last character is a backslash. Counted from the start, so
// that the second byte of a double-byte character (0x40-0xFE, which takes in
// 0x5C) is never mistaken for one.
bool EndsWithBackslash(std::string_view gbk) {
  bool last_is_backslash = false;
  for (std::size_t i = 0; i < gbk.size();) {
    const auto byte = static_cast<unsigned char>(gbk[i]);
    const bool lead = byte >= 0x81 && byte <= 0xFE && i + 1 < gbk.size();
    last_is_backslash = !lead && byte == '\\';
    i += lead ? 2 : 1;
  }
  return last_is_backslash;
}

}  // namespace

std::vector<std::string> ProposedMemoLines(std::optional<std::uint32_t> serial,
                                           std::string_view label_line_text) {
  std::string serial_line(kSerialPrefix);
  // Windows shows volume serials as signed numbers; snapshots made there do too.
  if (serial) serial_line += std::to_string(static_cast<std::int32_t>(*serial));
  std::string label_line(kLabelPrefix);
  label_line += label_line_text;
  return {std::string(kNumberLine), std::string(kPlaceLine), serial_line, label_line};
}

std::string JoinMemoLines(const std::vector<std::string>& lines) {
  std::string memo;
  for (const std::string& line : lines) {
    memo += line;
    memo += "nbsp";
  }
  return memo;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.emplace_back(line);
    start = end + 1;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines[i];
  }
  return text;
}

std::string_view DriveTextOf(std::string_view path) {
  const std::size_t colon = path.find(':');
  return colon == std::string_view::npos ? std::string_view() : path.substr(0, colon + 1);
}

std::string WithTrailingBackslash(std::string_view path) {
  std::string result(path);
  if (!result.empty() && !EndsWithBackslash(result)) result += '\\';
  return result;
}

}  // namespace movra
