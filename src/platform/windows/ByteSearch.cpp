#include "platform/ByteSearch.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace movra {

// The C library here has neither memmem nor memrchr.
const char* FindBytes(const char* data, std::size_t size, const char* needle, std::size_t needle_size) {
  if (needle_size > size) return nullptr;
  const char* end = data + size;
  const char* hit = std::search(data, end, std::boyer_moore_horspool_searcher(needle, needle + needle_size));
  return hit == end ? nullptr : hit;
}

const char* FindLastByte(const char* data, std::size_t size, char c) {
  for (const char* p = data + size; p != data;)
    if (*--p == c) return p;
  return nullptr;
}

}  // namespace movra
