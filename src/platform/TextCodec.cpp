#include "platform/TextCodec.h"

namespace movra {

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

namespace {

// Replaces the bytes a recorded name cannot carry by '_', walking GBK
// characters so that a trail byte (which may be 0x5C or 0x7C) is never taken
// for a backslash or a bar.
void ReplaceUnrecordable(std::string& gbk) {
  for (size_t i = 0; i < gbk.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(gbk[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < gbk.size()) {
      ++i;
      continue;
    }
    if (c == '\\' || c == '|' || c < 0x20 || c == 0x7F) gbk[i] = '_';
  }
}

}  // namespace

std::string NativeNameToGbk(std::string_view utf8) {
  std::string gbk = Utf8ToGbk(utf8);
  ReplaceUnrecordable(gbk);
  return gbk;
}

std::string DiskNameToGbk(std::string_view name) {
  if (IsUtf8(name) || !IsGbk(name)) return NativeNameToGbk(name);
  std::string gbk(name);
  ReplaceUnrecordable(gbk);
  return gbk;
}

bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t n = 0;
    unsigned min = 0;
    unsigned cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1, min = 0x80, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2, min = 0x800, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3, min = 0x10000, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= text.size()) return false;  // cut short
    for (size_t k = 1; k <= n; ++k) {
      const unsigned char t = static_cast<unsigned char>(text[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n + 1;
  }
  return true;
}

bool IsGbk(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) continue;
    if (c == 0x80 || c == 0xFF || i + 1 == text.size()) return false;
    const unsigned char t = static_cast<unsigned char>(text[++i]);
    if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
  }
  return true;
}

}  // namespace movra
