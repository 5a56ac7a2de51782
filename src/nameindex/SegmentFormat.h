// What the writer and the reader of segments share: the magic, the fixed
// sizes, the little-endian field access and the varints of the lists.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

namespace movra::segment_format {

constexpr char kMagic[8] = {'M', 'V', 'R', 'N', 'I', 'D', 'X', '4'};
constexpr std::uint32_t kVersion = 4;
constexpr unsigned kPageShift = 16;  // body pages of 64 KiB, each with its hash
constexpr std::uint32_t kUncertainFlag = 1;
constexpr size_t kTrailerSize = 16;  // head size, magic
// Header: version, block shift, page shift, disc count, key count, block
// count (u32 each), body size, key array offset, list offsets offset, skip
// offsets offset (u64 each).
constexpr size_t kHeaderSize = 6 * 4 + 4 * 8;

// Appends value's bytes to out, a string or a vector of char.
template <typename T, typename Bytes>
void Put(Bytes& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.insert(out.end(), bytes, bytes + sizeof(T));
}

template <typename T>
T Get(const char* at) {
  T value;
  std::memcpy(&value, at, sizeof(T));
  return value;
}

// Writes value as a varint to out (room for five bytes); returns its length.
inline size_t EncodeVarint(std::uint32_t value, char* out) {
  size_t length = 0;
  for (; value >= 0x80; value >>= 7) out[length++] = static_cast<char>(value | 0x80);
  out[length++] = static_cast<char>(value);
  return length;
}

// Reads a varint at pos (advanced) before end; false when it runs past end.
inline bool GetVarint(const char* data, size_t end, size_t& pos, std::uint32_t& value) {
  value = 0;
  for (int shift = 0; shift < 35; shift += 7) {
    if (pos >= end) return false;
    const auto b = static_cast<unsigned char>(data[pos++]);
    value |= std::uint32_t{b & 0x7Fu} << shift;
    if (b < 0x80) return true;
  }
  return false;
}

// The 64-bit hash of a page or of the head.
std::uint64_t Hash(const char* data, size_t size);

}  // namespace movra::segment_format
