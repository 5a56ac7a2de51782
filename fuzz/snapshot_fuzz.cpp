// Snapshot reader and writer: any bytes read, written, read and written again
// give the same text the second time, so what the writer puts out always
// reads back as it was meant.
#include "fuzz/FuzzSupport.h"
#include "snapshot/SnapshotFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace movra;
  SnapshotIndex first;
  ParseSnapshot(first, std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string text = SnapshotText(first);
  SnapshotIndex second;
  FUZZ_CHECK(ParseSnapshot(second, text));
  FUZZ_CHECK(second.Count() == first.Count());
  FUZZ_CHECK(SnapshotText(second) == text);
  return 0;
}
