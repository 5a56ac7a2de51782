// The name scanner: for any text, at every vector level the processor has,
// each line's name is the one LineName finds in that line alone.
#include "fuzz/FuzzSupport.h"
#include "nameindex/NameScanner.h"
#include "nameindex/VectorKernels.h"
#include "snapshot/LineFields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace movra;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  static NameScanner scanner;
  for (const VectorLevel level : kVectorLevels) {
    if (level > MachineVectorLevel()) break;
    LimitVectorLevel(level);
    const std::vector<NameSpan>& names = scanner.Scan(text);
    size_t line = 0;
    for (size_t start = 0; start < text.size(); ++line) {
      const size_t end = std::min(text.find('\n', start), text.size());
      std::string_view whole = text.substr(start, end - start);
      if (!whole.empty() && whole.back() == '\r') whole.remove_suffix(1);
      const std::string_view name = LineName(whole);
      FUZZ_CHECK(line < names.size() && names[line].line_start == start);
      FUZZ_CHECK(names[line].name_start == static_cast<size_t>(name.data() - text.data()));
      FUZZ_CHECK(names[line].name_size == name.size());
      start = end + 1;
    }
    FUZZ_CHECK(names.size() == line);
  }
  return 0;
}
