#include "platform/ByteSearch.h"

#include <cstring>

namespace movra {

const char* FindBytes(const char* data, std::size_t size, const char* needle, std::size_t needle_size) {
  return static_cast<const char*>(::memmem(data, size, needle, needle_size));
}

const char* FindLastByte(const char* data, std::size_t size, char c) {
  return static_cast<const char*>(::memrchr(data, c, size));
}

}  // namespace movra
