// One entry a search found, as every list of results shows it.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/DateTime.h"

namespace movra {

// One matching entry as every output format shows it. The texts (GBK) stay
// valid while the results keep their rows.
struct FoundEntry {
  std::string_view disc;    // the disc as the caller names it (its catalogue path)
  std::string_view folder;  // the entry's folder with its trailing backslash
  std::string_view name;
  bool is_file = true;
  std::int64_t size = 0;  // 0 for a folder
  DateTime modified = 0;
};

}  // namespace movra
