#include "platform/TextCodec.h"

#include <algorithm>
#include <memory>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/uset.h>

namespace movra {
namespace {

// The full code page 936 table (single bytes, every two-byte code including
// the user-defined areas), which the system's plain GBK tables lack parts of.
constexpr const char* kCodePage936 = "windows-936-2000";
// The table's stand-in for the byte 0xFF, which no GBK text holds: it is
// neither a lead nor a second byte, so it is treated as no character.
constexpr char kNoCharacterByte = '\xFF';
constexpr char32_t kNoCharacterStandIn = 0xF8F5;

// An invalid or unmappable input sequence becomes '?' in the output.
void QuestionMarkToUnicode(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                           UConverterCallbackReason reason, UErrorCode* error) {
  if (reason > UCNV_IRREGULAR) return;
  static const UChar kQuestionMark = u'?';
  *error = U_ZERO_ERROR;
  ucnv_cbToUWriteUChars(args, &kQuestionMark, 1, 0, error);
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenConverter(const char* name, bool strict) {
  UErrorCode error = U_ZERO_ERROR;
  ConverterPtr converter(ucnv_open(name, &error));
  if (!converter || U_FAILURE(error)) return nullptr;
  error = U_ZERO_ERROR;
  if (strict) {
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
    ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &error);
  } else {
    ucnv_setToUCallBack(converter.get(), QuestionMarkToUnicode, nullptr, nullptr, nullptr, &error);
    ucnv_setSubstChars(converter.get(), "?", 1, &error);
  }
  return converter;
}

// One pair of converters per direction and thread; opening one per name would be far too slow.
class Converter {
 public:
  Converter(const char* to, const char* from, bool strict)
      : to_(OpenConverter(to, strict)), from_(OpenConverter(from, strict)) {}

  // The input converted; nullopt when a strict converter met a sequence it
  // does not define. The output starts with room for half as much again
  // as the input (a two-byte character in three bytes) and grows when short.
  std::optional<std::string> Run(std::string_view in) {
    if (!to_ || !from_) return std::nullopt;
    std::string out(in.size() + in.size() / 2 + 16, '\0');
    const char* src = in.data();
    UChar pivot[1024];
    UChar* pivot_source = pivot;
    UChar* pivot_target = pivot;
    size_t written = 0;
    for (bool reset = true;; reset = false) {
      char* dst = out.data() + written;
      UErrorCode error = U_ZERO_ERROR;
      ucnv_convertEx(to_.get(), from_.get(), &dst, out.data() + out.size(), &src, in.data() + in.size(), pivot,
                     &pivot_source, &pivot_target, pivot + std::size(pivot), reset, true, &error);
      written = static_cast<size_t>(dst - out.data());
      if (error == U_BUFFER_OVERFLOW_ERROR) {
        out.resize(out.size() * 2);
        continue;
      }
      if (U_FAILURE(error)) return std::nullopt;
      break;
    }
    out.resize(written);
    return out;
  }

 private:
  ConverterPtr to_;
  ConverterPtr from_;
};

// The characters code page 936 writes and reads back unchanged.
const USet* RoundTripSet() {
  static const USet* const set = [] {
    USet* s = uset_openEmpty();
    ConverterPtr converter = OpenConverter(kCodePage936, true);
    UErrorCode error = U_ZERO_ERROR;
    if (converter) ucnv_getUnicodeSet(converter.get(), s, UCNV_ROUNDTRIP_SET, &error);
    uset_remove(s, static_cast<UChar32>(kNoCharacterStandIn));
    uset_freeze(s);
    return s;
  }();
  return set;
}

// Code page 936 bytes to UTF-8 with the converter's own handling of bad
// input, in one pass without a UTF-16 pivot; nullopt when a strict converter
// meets a sequence it does not define.
std::optional<std::string> ToUtf8(UConverter* converter, std::string_view in) {
  if (converter == nullptr) return std::nullopt;
  std::string out(in.size() + in.size() / 2 + 16, '\0');
  for (;;) {
    UErrorCode error = U_ZERO_ERROR;
    const int32_t n = ucnv_toAlgorithmic(UCNV_UTF8, converter, out.data(), static_cast<int32_t>(out.size()),
                                         in.data(), static_cast<int32_t>(in.size()), &error);
    if (error == U_BUFFER_OVERFLOW_ERROR) {
      out.resize(static_cast<size_t>(n) + 1);
      continue;
    }
    if (U_FAILURE(error)) return std::nullopt;
    out.resize(static_cast<size_t>(n));
    return out;
  }
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  thread_local ConverterPtr converter = OpenConverter(kCodePage936, false);
  if (gbk.find(kNoCharacterByte) != std::string_view::npos) {
    std::string copy(gbk);
    std::replace(copy.begin(), copy.end(), kNoCharacterByte, '?');
    return ToUtf8(converter.get(), copy).value_or(std::string());
  }
  return ToUtf8(converter.get(), gbk).value_or(std::string());
}

std::optional<std::string> GbkToUtf8Strict(std::string_view gbk) {
  if (IsAscii(gbk)) return std::string(gbk);
  if (gbk.find(kNoCharacterByte) != std::string_view::npos) return std::nullopt;
  thread_local ConverterPtr converter = OpenConverter(kCodePage936, true);
  return ToUtf8(converter.get(), gbk);
}

std::string Utf8ToGbk(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  thread_local Converter converter(kCodePage936, "UTF-8", false);
  std::string gbk = converter.Run(utf8).value_or(std::string());
  std::replace(gbk.begin(), gbk.end(), kNoCharacterByte, '?');
  return gbk;
}

std::optional<std::string> CharsetToUtf8Strict(std::string_view bytes, const std::string& charset) {
  Converter converter("UTF-8", charset.c_str(), true);
  return converter.Run(bytes);
}

bool GbkCanHold(char32_t code_point) {
  return uset_contains(RoundTripSet(), static_cast<UChar32>(code_point)) != 0;
}

}  // namespace movra
