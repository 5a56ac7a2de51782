#include "platform/TextCodec.h"

#include <algorithm>
#include <cctype>

#include "platform/windows/WinText.h"

namespace movra {
namespace {

constexpr UINT kCodePage936 = 936;
// Code page 936 maps the byte 0xFF, which no GBK text holds, to U+F8F5: it is
// taken as no character.
constexpr char kNoCharacterByte = '\xFF';
constexpr wchar_t kNoCharacterStandIn = 0xF8F5;

// Bytes of a code page to UTF-16; nullopt with strict when a sequence is invalid.
std::optional<std::wstring> WideOfCodePage(UINT code_page, std::string_view bytes, bool strict) {
  if (bytes.empty()) return std::wstring();
  const DWORD flags = strict ? MB_ERR_INVALID_CHARS : 0;
  const int size = static_cast<int>(bytes.size());
  const int n = ::MultiByteToWideChar(code_page, flags, bytes.data(), size, nullptr, 0);
  if (n <= 0) return std::nullopt;
  std::wstring wide(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(code_page, flags, bytes.data(), size, wide.data(), n);
  return wide;
}

// UTF-16 to code page 936; a character it cannot hold becomes one '?' (a
// surrogate pair too, as no such character is in the code page).
std::string GbkOfWide(std::wstring wide) {
  std::wstring single;
  single.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    const bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                      wide[i + 1] <= 0xDFFF;
    if (pair) ++i;
    single.push_back(pair || c == kNoCharacterStandIn ? L'?' : c);
  }
  if (single.empty()) return {};
  const int size = static_cast<int>(single.size());
  const int n = ::WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, single.data(), size, nullptr, 0, "?",
                                      nullptr);
  std::string gbk(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, single.data(), size, gbk.data(), n, "?", nullptr);
  std::replace(gbk.begin(), gbk.end(), kNoCharacterByte, '?');
  return gbk;
}

// A UTF-16 text with its bytes in the given order.
std::wstring WideOfBytes(std::string_view bytes, bool big_endian) {
  std::wstring wide;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
    wide.push_back(static_cast<wchar_t>(big_endian ? (a << 8 | b) : (b << 8 | a)));
  }
  return wide;
}

// True when every surrogate of wide is part of a pair.
bool PairedSurrogates(std::wstring_view wide) {
  for (size_t i = 0; i < wide.size(); ++i) {
    const wchar_t c = wide[i];
    if (c >= 0xDC00 && c <= 0xDFFF) return false;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 == wide.size() || wide[i + 1] < 0xDC00 || wide[i + 1] > 0xDFFF) return false;
      ++i;
    }
  }
  return true;
}

// The code page of a character set name; 0 when unknown.
UINT CodePageOf(std::string name) {
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  name.erase(std::remove(name.begin(), name.end(), '_'), name.end());
  struct Named {
    const char* name;
    UINT code_page;
  };
  static constexpr Named kNames[] = {
      {"UTF-8", CP_UTF8},        {"UTF8", CP_UTF8},         {"GB18030", 54936},     {"GBK", 936},
      {"GB2312", 936},           {"CP936", 936},            {"WINDOWS-936", 936},   {"BIG5", 950},
      {"ISO-8859-1", 28591},     {"LATIN1", 28591},         {"US-ASCII", 20127},    {"ASCII", 20127},
      {"WINDOWS-1252", 1252},    {"CP1252", 1252},          {"SHIFT-JIS", 932},     {"SHIFTJIS", 932},
      {"EUC-JP", 20932},         {"EUC-KR", 51949},         {"ISO-8859-2", 28592},  {"ISO-8859-15", 28605},
      {"KOI8-R", 20866},         {"WINDOWS-1251", 1251},
  };
  for (const Named& n : kNames)
    if (name == n.name) return n.code_page;
  return 0;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  std::string copy(gbk);
  std::replace(copy.begin(), copy.end(), kNoCharacterByte, '?');
  return Utf8Of(WideOfCodePage(kCodePage936, copy, false).value_or(std::wstring()));
}

std::optional<std::string> GbkToUtf8Strict(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  if (gbk.find(kNoCharacterByte) != std::string_view::npos) return std::nullopt;
  const std::optional<std::wstring> wide = WideOfCodePage(kCodePage936, gbk, true);
  if (!wide) return std::nullopt;
  return Utf8Of(*wide);
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return GbkOfWide(WideOf(utf8));
}

std::optional<std::string> CharsetToUtf8Strict(std::string_view bytes, const std::string& charset) {
  std::string name = charset;
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name == "UTF-16" || name == "UTF-16LE" || name == "UTF-16BE") {
    if (bytes.size() % 2 != 0) return std::nullopt;
    bool big = name == "UTF-16BE";
    if (name == "UTF-16" && bytes.size() >= 2) {
      // The byte-order mark decides and is dropped; without one, big-endian.
      big = !(bytes[0] == '\xFF' && bytes[1] == '\xFE');
      if ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF'))
        bytes.remove_prefix(2);
    }
    const std::wstring wide = WideOfBytes(bytes, big);
    if (!PairedSurrogates(wide)) return std::nullopt;
    return Utf8Of(wide);
  }
  const UINT code_page = CodePageOf(charset);
  if (code_page == 0) return std::nullopt;
  if (code_page == CP_UTF8) {
    if (!IsUtf8(bytes)) return std::nullopt;
    return std::string(bytes);
  }
  const std::optional<std::wstring> wide = WideOfCodePage(code_page, bytes, true);
  if (!wide) return std::nullopt;
  return Utf8Of(*wide);
}

bool GbkCanHold(char32_t code_point) {
  if (code_point == kNoCharacterStandIn || code_point > 0xFFFF || (code_point >= 0xD800 && code_point <= 0xDFFF))
    return false;
  if (code_point < 0x80) return true;
  const wchar_t wide = static_cast<wchar_t>(code_point);
  char bytes[4];
  BOOL used_default = FALSE;
  const int n = ::WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes, nullptr,
                                      &used_default);
  if (n <= 0 || used_default) return false;
  wchar_t back = 0;
  return ::MultiByteToWideChar(kCodePage936, MB_ERR_INVALID_CHARS, bytes, n, &back, 1) == 1 && back == wide;
}

}  // namespace movra
