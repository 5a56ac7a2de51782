// The byte-level work of building the index, done a vector of bytes at a
// time where the processor allows: finding every line's entry name in a
// snapshot's text (exactly what LineName gives line by line, GBK-aware
// markers included), and making the trigram keys of names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace movra {

// Where one line's entry name lies in a snapshot's text.
struct NameSpan {
  std::uint32_t line_start;  // offset of the line's first byte
  std::uint32_t name_start;  // offset of the name's first byte
  std::uint32_t name_size;
};

// Finds the names of all lines of snapshot texts, reusing its tables.
class NameScanner {
 public:
  // The name of every line of text (up to 4 GiB), in order; lines end at
  // LF, and a CR before it is not part of the line.
  const std::vector<NameSpan>& Scan(std::string_view text);

 private:
  std::vector<NameSpan> names_;
};

// Whether Scan and NameKeys may use the processor's vector instructions
// where it has them (the default); tests turn them off to check the plain code.
void AllowVectorScan(bool allow);

// The keys of the trigrams of a name of size bytes (size - 2 of them, none
// below three bytes), in order, stored at keys; returns their number.
// `readable` bytes (at least size) may be read from name; keys has room
// for size + 8.
size_t NameKeys(const char* name, size_t size, size_t readable, std::uint32_t* keys);

}  // namespace movra
