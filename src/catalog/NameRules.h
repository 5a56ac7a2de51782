// The rules for disc and category names: Chinese characters of GB2312, ASCII
// letters and digits, the full stop, the underscore and the hyphen. Such names
// are safe both inside XML element names and in snapshot file names. Names are
// GBK byte strings; a double-byte character is recognised only when both of its
// bytes lie in 0xA1-0xFE, any other byte is judged on its own.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace movra {

// The name with every character outside the rules removed (bytes after a zero byte are ignored).
std::string FilterName(std::string_view name);

// FilterName repeated until the result no longer changes; a name is valid when this leaves it unchanged.
std::string CleanName(std::string_view name);

// The GBK form of a UTF-8 text; nullopt when the text is no UTF-8 or holds a
// character GBK cannot hold (so that the GBK form would not lead back to it).
std::optional<std::string> GbkFormOf(std::string_view utf8);

}  // namespace movra
