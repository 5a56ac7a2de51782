#include "window/controls/WxText.h"

#include "platform/TextCodec.h"

namespace movra {

wxString GbkToWx(std::string_view gbk) {
  if (IsAscii(gbk)) return wxString::FromAscii(gbk.data(), gbk.size());
  const std::string utf8 = GbkToUtf8(gbk);
  return wxString::FromUTF8(utf8.data(), utf8.size());
}

std::string WxToGbk(const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  return Utf8ToGbk(std::string_view(utf8.data(), utf8.length()));
}

}  // namespace movra
