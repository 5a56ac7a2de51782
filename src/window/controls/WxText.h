// The one crossing between the program's GBK text and the widgets' wxString.
#pragma once

#include <string>
#include <string_view>

#include <wx/string.h>

namespace movra {

// GBK bytes as a wxString (through UTF-8); bytes that are not GBK become '?'.
wxString GbkToWx(std::string_view gbk);

// A wxString as GBK bytes; characters GBK cannot hold become '?'.
std::string WxToGbk(const wxString& text);

}  // namespace movra
