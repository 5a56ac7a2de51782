#include "nameindex/Trigrams.h"

#include <algorithm>

namespace movra {

std::vector<std::uint32_t> QueryTrigrams(std::string_view required) {
  std::vector<std::uint32_t> keys;
  for (size_t i = 0; i + 3 <= required.size(); ++i) keys.push_back(TrigramAt(required.data() + i));
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

}  // namespace movra
