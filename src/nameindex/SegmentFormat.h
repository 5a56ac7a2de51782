// What the writer and the reader of segments share: the magic, the fixed
// sizes and the little-endian field access.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace movra::segment_format {

constexpr char kMagic[8] = {'M', 'V', 'R', 'N', 'I', 'D', 'X', '2'};
constexpr std::uint32_t kVersion = 2;
constexpr unsigned kPageShift = 16;  // body pages of 64 KiB, each with its hash
constexpr std::uint32_t kUncertainFlag = 1;
constexpr size_t kTrailerSize = 16;  // head size, magic
// Header: version, block shift, page shift, disc count, key count, block
// count (u32 each), body size, key array offset, list offsets offset, skip
// offsets offset (u64 each).
constexpr size_t kHeaderSize = 6 * 4 + 4 * 8;

template <typename T>
void Put(std::string& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.append(bytes, sizeof(T));
}

template <typename T>
T Get(const char* at) {
  T value;
  std::memcpy(&value, at, sizeof(T));
  return value;
}

// The 64-bit hash of a page or of the head.
std::uint64_t Hash(const char* data, size_t size);

}  // namespace movra::segment_format
