// Conversions between the program's GBK text (code page 936) and UTF-8.
// Every text inside Movra is a std::string of GBK bytes; these functions are
// the only places where it meets UTF-8 (file system, XML DOM, widgets).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace movra {

// GBK bytes to UTF-8; a byte sequence that is not GBK becomes '?'. GBK
// here is code page 936 in full, user-defined areas included.
std::string GbkToUtf8(std::string_view gbk);

// GBK bytes to UTF-8; nullopt when a byte sequence is not GBK.
std::optional<std::string> GbkToUtf8Strict(std::string_view gbk);

// Bytes in the named character set ("UTF-16" with its byte-order mark,
// "GB18030", "ISO-8859-1" ...) to UTF-8; nullopt when the set is unknown or
// a byte sequence is invalid or cut short in it.
std::optional<std::string> CharsetToUtf8Strict(std::string_view bytes, const std::string& charset);

// True when GBK holds the character, so that it is written and read back unchanged.
bool GbkCanHold(char32_t code_point);

// UTF-8 to GBK; a character GBK cannot hold (or invalid UTF-8) becomes '?'.
std::string Utf8ToGbk(std::string_view utf8);

// A file name read from disk (UTF-8) as it is recorded: GBK, with '?' for
// characters GBK cannot hold and '_' for a backslash, a vertical bar or a
// control byte, none of which a Windows name or a snapshot line can carry.
std::string NativeNameToGbk(std::string_view utf8);

// A file name read from disk as it is recorded: a UTF-8 name as
// NativeNameToGbk makes it; a name that is not UTF-8 but is well-formed GBK
// (unpacked from an archive made on Chinese Windows, on a disc burnt there)
// is taken as those GBK bytes, with the same '_' replacements.
std::string DiskNameToGbk(std::string_view name);

// True when text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view text);

// True when text is well-formed GBK: ASCII bytes, and lead bytes 0x81..0xFE
// each followed by a trail byte 0x40..0xFE other than 0x7F.
bool IsGbk(std::string_view text);

// True when every byte is ASCII (below 0x80): such text is the same in both encodings.
bool IsAscii(std::string_view text);

}  // namespace movra
