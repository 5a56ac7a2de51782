#include "catalog/XmlEncoding.h"

#include <algorithm>

#include "platform/TextCodec.h"

namespace movra {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
// The charset name that stands for code page 936, converted by TextCodec's full table.
constexpr const char* kCodePage936 = "CP936";

// The whole input converted to UTF-8, or nullopt at the first invalid or incomplete sequence.
std::optional<std::string> DecodeStrict(std::string_view in, const std::string& charset) {
  if (charset == "UTF-8") return IsUtf8(in) ? std::optional<std::string>(std::string(in)) : std::nullopt;
  return CharsetToUtf8Strict(in, charset);
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The name of the charset a declared encoding stands for.
std::string CharsetOf(std::string declared) {
  std::transform(declared.begin(), declared.end(), declared.begin(), Lower);
  if (declared.empty() || declared == "utf-8" || declared == "utf8") return "UTF-8";
  // The catalogue is written as GBK under the label gb2312; GBK holds GB2312.
  if (declared == "gb2312" || declared == "gbk" || declared == "cp936" || declared == "x-gbk" ||
      declared == "euc-cn" || declared == "windows-936" || declared == "csgb2312")
    return kCodePage936;
  if (declared == "gb18030") return "GB18030";
  return declared;
}

// The code point of the UTF-8 sequence at p and its length; length 0 when it is not valid.
std::pair<char32_t, size_t> DecodeUtf8(const unsigned char* p, size_t left) {
  if (left == 0) return {0, 0};
  unsigned char c = p[0];
  size_t n;
  char32_t cp;
  if (c < 0x80) return {c, 1};
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return {0, 0};
  }
  if (left < n) return {0, 0};
  for (size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80) return {0, 0};
    cp = (cp << 6) | (p[i] & 0x3F);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not characters.
  static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, 0};
  return {cp, n};
}

bool IsNameStart(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
  return (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
         (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) ||
         (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
         (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameChar(char32_t c) {
  return IsNameStart(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7 ||
         (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// Follows serialized XML from left to right to tell whether a position lies
// in character data. Text never holds a raw '<' (the serializer escapes it),
// so every '<' opens a tag, a comment, a CDATA section or a processing instruction.
class MarkupScanner {
 public:
  explicit MarkupScanner(std::string_view xml) : xml_(xml) {}

  // True when the character at pos (not before the last position asked) is character data.
  bool InTextAt(size_t pos) {
    while (pos_ < pos) Step();
    return state_ == kText;
  }

 private:
  enum State { kText, kTag, kComment, kCData, kInstruction };

  bool At(std::string_view token) const { return xml_.substr(pos_).starts_with(token); }

  void Step() {
    switch (state_) {
      case kText:
        if (At("<!--")) Enter(kComment, 4);
        else if (At("<![CDATA[")) Enter(kCData, 9);
        else if (At("<?")) Enter(kInstruction, 2);
        else Enter(xml_[pos_] == '<' ? kTag : kText, 1);
        break;
      case kTag:
        Enter(xml_[pos_] == '>' ? kText : kTag, 1);
        break;
      case kComment:
        if (At("-->")) Enter(kText, 3);
        else ++pos_;
        break;
      case kCData:
        if (At("]]>")) Enter(kText, 3);
        else ++pos_;
        break;
      case kInstruction:
        if (At("?>")) Enter(kText, 2);
        else ++pos_;
        break;
    }
  }

  void Enter(State state, size_t length) {
    state_ = state;
    pos_ += length;
  }

  std::string_view xml_;
  size_t pos_ = 0;
  State state_ = kText;
};

}  // namespace

std::string DeclaredEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  if (!bytes.starts_with("<?xml") || bytes.size() < 6 || !IsXmlSpace(bytes[5])) return {};
  size_t end = bytes.find("?>");
  if (end == std::string_view::npos) return {};
  std::string_view decl = bytes.substr(5, end - 5);
  size_t pos = decl.find("encoding");
  if (pos == std::string_view::npos) return {};
  pos += 8;
  while (pos < decl.size() && IsXmlSpace(decl[pos])) ++pos;
  if (pos >= decl.size() || decl[pos] != '=') return {};
  ++pos;
  while (pos < decl.size() && IsXmlSpace(decl[pos])) ++pos;
  if (pos >= decl.size() || (decl[pos] != '"' && decl[pos] != '\'')) return {};
  size_t close = decl.find(decl[pos], pos + 1);
  if (close == std::string_view::npos) return {};
  return std::string(decl.substr(pos + 1, close - pos - 1));
}

std::optional<std::string> XmlBytesToUtf8(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return DecodeStrict(bytes, "UTF-16");
  if (bytes.starts_with(kUtf8Bom)) return DecodeStrict(bytes.substr(kUtf8Bom.size()), "UTF-8");
  const std::string charset = CharsetOf(DeclaredEncoding(bytes));
  if (charset == kCodePage936) return GbkToUtf8Strict(bytes);
  return DecodeStrict(bytes, charset);
}

std::optional<std::string> MakeXmlWritable(std::string_view utf8, bool for_gbk) {
  std::string out;
  out.reserve(utf8.size() + utf8.size() / 16);
  MarkupScanner scanner(utf8);
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  size_t copied = 0;  // utf8[copied, pos) still to be appended as it is
  for (size_t pos = 0; pos < utf8.size();) {
    const unsigned char c = p[pos];
    if (c != '\r' && c < 0x80) {
      ++pos;
      continue;
    }
    auto [cp, n] = DecodeUtf8(p + pos, utf8.size() - pos);
    std::string replacement;
    if (n == 0) {
      // Not UTF-8 at all (say a reference to a surrogate taken in as it
      // stood): no reader would take it back.
      replacement = "?";
      n = 1;
    } else if (c == '\r' || (for_gbk && !GbkCanHold(cp))) {
      // A reference keeps the character, but only in text: in a name, a
      // comment, a processing instruction or a CDATA section it would be
      // wrong or literal. A CR there is left as it is.
      if (!scanner.InTextAt(pos)) {
        if (c == '\r') {
          ++pos;
          continue;
        }
        return std::nullopt;
      }
      replacement = "&#" + std::to_string(static_cast<unsigned long>(cp)) + ";";
    } else {
      pos += n;
      continue;
    }
    out.append(utf8.substr(copied, pos - copied));
    out += replacement;
    pos += n;
    copied = pos;
  }
  out.append(utf8.substr(copied));
  return out;
}

std::optional<std::string> Utf8XmlToGbk(std::string_view utf8) {
  std::optional<std::string> writable = MakeXmlWritable(utf8, true);
  if (!writable) return std::nullopt;
  return Utf8ToGbk(*writable);
}

bool IsXmlName(std::string_view utf8) {
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  size_t left = utf8.size();
  bool first = true;
  if (left == 0) return false;
  while (left > 0) {
    auto [cp, n] = DecodeUtf8(p, left);
    if (n == 0 || !(first ? IsNameStart(cp) : IsNameChar(cp))) return false;
    first = false;
    p += n;
    left -= n;
  }
  return true;
}

}  // namespace movra
