// Byte-level helpers for the catalogue file: decoding the file's bytes by the
// encoding its XML declaration names, encoding serialized XML as GBK, and the
// XML name test that keeps element names the document can write and read back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace movra {

// The value of the encoding pseudo-attribute of an XML declaration at the
// start of bytes (after an optional UTF-8 byte order mark), or empty.
std::string DeclaredEncoding(std::string_view bytes);

// The file's bytes as UTF-8: decoded by the declared encoding (gb2312 and gbk
// as code page 936 in full, gb18030, utf-8; no declaration means UTF-8; a UTF-16 byte order mark
// wins over the declaration). nullopt when the encoding is unknown or a byte
// sequence is not valid in it.
std::optional<std::string> XmlBytesToUtf8(std::string_view bytes);

// Serialized UTF-8 XML made safe to write and read back: a byte sequence
// that is not UTF-8 becomes '?', a CR in text becomes &#13; (a raw one would
// be read back as a line feed) and, with for_gbk, a character GBK cannot hold
// becomes a character reference in text. nullopt when such a character
// stands inside markup, where no reference is allowed.
std::optional<std::string> MakeXmlWritable(std::string_view utf8, bool for_gbk);

// Serialized UTF-8 XML made writable (MakeXmlWritable for GBK) as GBK bytes.
std::optional<std::string> Utf8XmlToGbk(std::string_view utf8);

// True when utf8 is a well-formed XML 1.0 name (start character, then name characters).
bool IsXmlName(std::string_view utf8);

}  // namespace movra
