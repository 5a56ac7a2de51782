// Searches in raw bytes that each system's C library offers at its own
// speed (a whole snapshot file is searched at once).
#pragma once

#include <cstddef>

namespace movra {

// The first place of the needle's bytes in [data, data + size), or nullptr; needle_size > 0.
const char* FindBytes(const char* data, std::size_t size, const char* needle, std::size_t needle_size);

// The last byte c in [data, data + size), or nullptr.
const char* FindLastByte(const char* data, std::size_t size, char c);

}  // namespace movra
