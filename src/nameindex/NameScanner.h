// Finding every line's entry name in a snapshot's text, 64 bytes at a time:
// exactly what LineName gives line by line, GBK-aware markers included.
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

}  // namespace movra
