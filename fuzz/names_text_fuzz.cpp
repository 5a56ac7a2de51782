// Name rules and text conversion: a cleaned name is stable, converts to
// UTF-8 and back unchanged and makes an element name the catalogue can hold;
// GBK text read strictly converts back byte for byte; a recorded native
// name holds no marker of a snapshot line.
#include "catalog/NameRules.h"
#include "catalog/XmlEncoding.h"
#include "fuzz/FuzzSupport.h"
#include "platform/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace movra;
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const std::string clean = CleanName(input);
  FUZZ_CHECK(CleanName(clean) == clean);
  const std::string utf8 = GbkToUtf8(clean);
  FUZZ_CHECK(Utf8ToGbk(utf8) == clean);
  FUZZ_CHECK(IsXmlName("T_" + utf8));
  FUZZ_CHECK(Utf8XmlToGbk("<T_" + utf8 + "/>").has_value());

  if (const std::optional<std::string> strict = GbkToUtf8Strict(input)) {
    FUZZ_CHECK(*strict == GbkToUtf8(input));
    FUZZ_CHECK(Utf8ToGbk(*strict) == input);
  }

  const std::string recorded = NativeNameToGbk(input);
  for (size_t i = 0; i < recorded.size(); ++i) {
    const auto b = static_cast<unsigned char>(recorded[i]);
    if (b >= 0x81 && b <= 0xFE && i + 1 < recorded.size()) {
      ++i;
      continue;
    }
    FUZZ_CHECK(b != '\\' && b != '|' && b >= 0x20 && b != 0x7F);
  }
  return 0;
}
