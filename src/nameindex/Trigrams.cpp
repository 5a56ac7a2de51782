#include "nameindex/Trigrams.h"

#include <algorithm>

namespace movra {

std::vector<std::uint32_t> QueryKeys(std::string_view required) {
  std::vector<std::uint32_t> keys;
  for (size_t i = 0; i + 3 <= required.size(); ++i) keys.push_back(KeyOfTrigram(TrigramAt(required.data() + i)));
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

}  // namespace movra
