#include "platform/Collation.h"

#include <memory>

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/ucol.h>
#include <unicode/unistr.h>

#include "platform/TextCodec.h"

namespace movra {
namespace {

// The zh_CN collator, made once. ICU's Chinese tailoring sorts Han before
// Latin; dropping the script reordering restores Latin first. Identical
// strength keeps names that differ only in code points apart.
const icu::Collator* ChineseCollator() {
  static const std::unique_ptr<icu::Collator> collator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale("zh", "CN"), status));
    if (U_FAILURE(status)) return std::unique_ptr<icu::Collator>();
    const int32_t codes[] = {UCOL_REORDER_CODE_NONE};
    status = U_ZERO_ERROR;
    c->setReorderCodes(codes, 1, status);
    c->setStrength(icu::Collator::IDENTICAL);
    return c;
  }();
  return collator.get();
}

int Bytewise(std::string_view a, std::string_view b) {
  int r = a.compare(b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

}  // namespace

int LocaleCompare(std::string_view gbk_a, std::string_view gbk_b) {
  if (gbk_a == gbk_b) return 0;
  const icu::Collator* collator = ChineseCollator();
  if (collator == nullptr) return Bytewise(gbk_a, gbk_b);
  const std::string a = GbkToUtf8(gbk_a);
  const std::string b = GbkToUtf8(gbk_b);
  UErrorCode status = U_ZERO_ERROR;
  UCollationResult r = collator->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                                             icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
  // Texts that are not valid GBK turn into the same '?' and may collate
  // equal although their bytes differ; the bytes then decide.
  if (U_FAILURE(status) || r == UCOL_EQUAL) return Bytewise(gbk_a, gbk_b);
  return r == UCOL_LESS ? -1 : 1;
}

std::string CollationKey(std::string_view gbk) {
  const icu::Collator* collator = ChineseCollator();
  std::string key;
  if (collator != nullptr) {
    const std::string utf8 = GbkToUtf8(gbk);
    const icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    key.resize(64);
    int32_t n = collator->getSortKey(text, reinterpret_cast<uint8_t*>(key.data()), static_cast<int32_t>(key.size()));
    if (n > static_cast<int32_t>(key.size())) {
      key.resize(static_cast<std::size_t>(n));
      n = collator->getSortKey(text, reinterpret_cast<uint8_t*>(key.data()), n);
    }
    // The sort key ends with its only zero byte, so the raw bytes appended
    // after it decide only between keys that are equal, as LocaleCompare does.
    key.resize(static_cast<std::size_t>(n));
  }
  key.append(gbk);
  return key;
}

}  // namespace movra
