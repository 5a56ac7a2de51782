#include "platform/TextCodec.h"

#include <cerrno>
#include <iconv.h>

namespace movra {
namespace {

// One converter per direction and thread; iconv_open is far too slow to call per name.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts in; each input sequence the converter rejects is replaced by
  // '?' and skipped by the length skip() gives for the byte at hand.
  template <typename Skip>
  std::string Run(std::string_view in, Skip skip) {
    std::string out;
    out.reserve(in.size() * 3 / 2 + 8);
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buffer[1024];
    while (left > 0) {
      char* dst = buffer;
      size_t room = sizeof buffer;
      size_t rc = iconv(cd_, &src, &left, &dst, &room);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (rc != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (a truncated sequence at the end): replace and go on.
      out.push_back('?');
      size_t n = skip(reinterpret_cast<const unsigned char*>(src), left);
      src += n;
      left -= n;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

size_t SkipUtf8(const unsigned char* p, size_t left) {
  size_t n = 1;
  if (p[0] >= 0xF0) n = 4;
  else if (p[0] >= 0xE0) n = 3;
  else if (p[0] >= 0xC0) n = 2;
  // Only skip continuation bytes that are really there.
  size_t i = 1;
  while (i < n && i < left && (p[i] & 0xC0) == 0x80) ++i;
  return i;
}

size_t SkipGbk(const unsigned char* p, size_t left) {
  if (p[0] >= 0x81 && p[0] <= 0xFE && left >= 2 && p[1] >= 0x40 && p[1] != 0x7F && p[1] <= 0xFE) return 2;
  return 1;
}

}  // namespace

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

std::string GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  thread_local Converter converter("UTF-8", "GBK");
  return converter.Run(gbk, SkipGbk);
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  thread_local Converter converter("GBK", "UTF-8");
  return converter.Run(utf8, SkipUtf8);
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
