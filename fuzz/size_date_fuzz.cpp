// Size and date texts: sizes read as a saturating atol reads them; a text
// that reads as a date-time reads back to the same value from the text the
// program writes for it, and no other exception escapes.
#include <cstdlib>
#include <algorithm>

#include "fuzz/FuzzSupport.h"
#include "platform/DateTime.h"
#include "snapshot/LineFields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace movra;
  const std::string text(reinterpret_cast<const char*>(data), size);

  // strtoll saturates as the reader must; it stops at a zero byte, and a lead
  // byte would take the ']' after it, so compare only on ASCII without brackets.
  const bool plain = std::all_of(text.begin(), text.end(), [](char c) { return c > 0 && c != '[' && c != ']'; });
  if (plain) {
    const std::string line = "E:\\x[" + text + "]2006/3/3";
    const long long expected = std::strtoll(text.c_str(), nullptr, 10);
    const std::int64_t got = LineSize(line);
    FUZZ_CHECK(got == expected);
  }

  const std::optional<DateTime> value = TryTextToDateTime(text);
  bool threw = false;
  try {
    (void)TextToDateTime(text);
  } catch (const ConversionError&) {
    threw = true;
  }
  FUZZ_CHECK(threw == !value.has_value());
  if (value) {
    const std::string written = DateTimeToText(*value);
    const std::optional<DateTime> back = TryTextToDateTime(written);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(DateTimeToText(*back) == written);
  }
  return 0;
}
