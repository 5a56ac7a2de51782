// Line fields: the markers found from the end of a line agree with a plain
// walk from its start, each field lies inside the line, and the one-call
// forms agree with the forms that take markers found once.
#include "fuzz/FuzzSupport.h"
#include "snapshot/LineFields.h"

namespace {

// The markers of a line found by walking its characters from the start.
movra::LineMarkers WalkMarkers(std::string_view line) {
  movra::LineMarkers m;
  for (size_t i = 0; i < line.size(); ++i) {
    const auto b = static_cast<unsigned char>(line[i]);
    if (b >= 0x81 && b <= 0xFE && i + 1 < line.size()) {
      ++i;
      continue;
    }
    if (b == '\\') m.last_backslash = i;
    if (b == '|') m.last_bar = i;
    if (b == '[') m.last_open = i;
    if (b == ']') m.last_close = i;
  }
  return m;
}

bool Inside(std::string_view part, std::string_view whole) {
  return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace movra;
  const std::string line(reinterpret_cast<const char*>(data), size);
  const LineMarkers m = FindMarkers(line);
  const LineMarkers w = WalkMarkers(line);
  FUZZ_CHECK(m.last_backslash == w.last_backslash && m.last_bar == w.last_bar && m.last_open == w.last_open &&
             m.last_close == w.last_close);

  const std::string_view folder = LineFolder(line, m);
  FUZZ_CHECK(folder == LineFolder(line));
  FUZZ_CHECK(folder.empty() || folder.back() == '\\');
  const std::string_view name = LineName(line, m);
  FUZZ_CHECK(Inside(name, line) && name == LineName(line));
  FUZZ_CHECK(LineIsFile(m) == LineIsFile(line));
  FUZZ_CHECK(LineSize(line, m) == LineSize(line));
  const std::int64_t entry = EntrySize(line, m);
  FUZZ_CHECK(LineIsFile(m) || entry == 0);
  FUZZ_CHECK(entry >= 0 || entry < -(std::int64_t{1} << 31));
  std::optional<DateTime> time;
  try {
    time = LineTime(line, m);
  } catch (const ConversionError&) {
  }
  FUZZ_CHECK(time.has_value() == TryTextToDateTime(m.last_close == LineMarkers::npos
                                                       ? std::string_view(line)
                                                       : std::string_view(line).substr(m.last_close + 1))
                                     .has_value());
  return 0;
}
