#include "platform/Collation.h"

#include "platform/TextCodec.h"
#include "platform/windows/WinText.h"

namespace movra {
namespace {

// The system's own zh-CN order: pinyin for Chinese, Latin first, lower case first on ties.
constexpr const wchar_t* kLocale = L"zh-CN";

int Bytewise(std::string_view a, std::string_view b) {
  const int r = a.compare(b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

}  // namespace

int LocaleCompare(std::string_view gbk_a, std::string_view gbk_b) {
  if (gbk_a == gbk_b) return 0;
  const std::wstring a = WideOf(GbkToUtf8(gbk_a));
  const std::wstring b = WideOf(GbkToUtf8(gbk_b));
  const int r = ::CompareStringEx(kLocale, 0, a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), nullptr, nullptr, 0);
  // Texts the system takes as equal (or cannot compare) are told apart by their bytes.
  if (r == 0 || r == CSTR_EQUAL) return Bytewise(gbk_a, gbk_b);
  return r == CSTR_LESS_THAN ? -1 : 1;
}

std::string CollationKey(std::string_view gbk) {
  const std::wstring text = WideOf(GbkToUtf8(gbk));
  std::string key;
  if (!text.empty()) {
    const int size = static_cast<int>(text.size());
    const int n = ::LCMapStringEx(kLocale, LCMAP_SORTKEY, text.data(), size, nullptr, 0, nullptr, nullptr, 0);
    if (n > 0) {
      key.resize(static_cast<size_t>(n));
      ::LCMapStringEx(kLocale, LCMAP_SORTKEY, text.data(), size, reinterpret_cast<LPWSTR>(key.data()), n, nullptr,
                      nullptr, 0);
    }
  }
  // The sort key ends with its only zero byte, so the raw bytes after it
  // decide only between keys that are equal, as LocaleCompare does.
  if (key.empty() || key.back() != '\0') key.push_back('\0');
  key.append(gbk);
  return key;
}

}  // namespace movra
