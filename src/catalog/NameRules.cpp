#include "catalog/NameRules.h"

#include "platform/TextCodec.h"

namespace movra {
namespace {

bool InPairRange(unsigned char b) { return b >= 0xA1 && b <= 0xFE; }

bool IsKeptSingleByte(unsigned char b) {
  return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '_' || b == '-' ||
         b == '.';
}

}  // namespace

std::string FilterName(std::string_view name) {
  name = name.substr(0, name.find('\0'));
  std::string result;
  result.reserve(name.size());
  size_t i = 0;
  while (i < name.size()) {
    auto b0 = static_cast<unsigned char>(name[i]);
    auto b1 = i + 1 < name.size() ? static_cast<unsigned char>(name[i + 1]) : 0;
    if (InPairRange(b0) && InPairRange(b1)) {
      // Only the Chinese characters of GB2312 (rows 0xB0-0xF7) survive; the
      // full-width space, punctuation, digits and letters (rows 0xA1-0xAF)
      // and the unused rows 0xF8-0xFE are dropped as whole pairs.
      // Row 0xD7 ends at 0xD7F9: its last five places hold no character.
      const bool unassigned = b0 == 0xD7 && b1 >= 0xFA;
      if (b0 >= 0xB0 && b0 <= 0xF7 && !unassigned) result.append(name.substr(i, 2));
      i += 2;
      continue;
    }
    if (IsKeptSingleByte(b0)) result.push_back(static_cast<char>(b0));
    ++i;
  }
  return result;
}

std::string CleanName(std::string_view name) {
  std::string r = FilterName(name);
  for (;;) {
    std::string next = FilterName(r);
    if (next == r) return r;
    r = std::move(next);
  }
}

std::optional<std::string> GbkFormOf(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  if (!IsUtf8(utf8)) return std::nullopt;
  std::string gbk = Utf8ToGbk(utf8);
  if (GbkToUtf8(gbk) != utf8) return std::nullopt;
  return gbk;
}

}  // namespace movra
