// The byte-level kernels of building the index, each in plain code and,
// where the processor has them, with AVX2 instructions. Both levels give the
// same results; tests check each level the processor has.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "nameindex/NameScanner.h"

namespace movra {

// The vector instructions the kernels use, from none to the widest.
enum class VectorLevel {
  kPlain,  // no vector instructions
  kAvx2,   // AVX2
};

// Every level, narrowest first.
inline constexpr VectorLevel kVectorLevels[] = {VectorLevel::kPlain, VectorLevel::kAvx2};

// The widest level this processor has.
VectorLevel MachineVectorLevel();
// Makes the kernels use at most level (the machine's level by default).
void LimitVectorLevel(VectorLevel level);
// The level the kernels use.
VectorLevel UsedVectorLevel();

// A bit per byte of one window of text, for each kind of byte that the
// entry names depend on; bits beyond the text are zero.
struct WindowMarks {
  static constexpr size_t kWords = 64;  // a window of 4 KiB
  std::uint64_t line_ends[kWords];      // LF
  std::uint64_t backslashes[kWords];
  std::uint64_t bars[kWords];
  std::uint64_t opens[kWords];          // '['
  std::uint64_t doubles[kWords];        // 0x81-0xFE: a lead byte, or a second byte that may be one
};

// Marks the bytes of text[begin, begin + 64 * WindowMarks::kWords), as far as text goes.
void MarkWindow(std::string_view text, size_t begin, WindowMarks& marks);

// The keys of the trigrams of the names at spans[0, count) of text (size - 2
// for a name of size bytes, none below three bytes), name after name, in
// order, stored at keys; returns their number. keys has room for that
// number + 32.
size_t NameKeys(std::string_view text, const NameSpan* spans, size_t count, std::uint32_t* keys);

// Sets bits[i / 64] to have bit i % 64 for each values[i] that is not
// zero, for i below count (a multiple of 64).
void MarkNonZero(const std::uint64_t* values, size_t count, std::uint64_t* bits);

// Writes the distance from each set bit of bits (not zero) to the next one
// up, a byte each, lowest first; returns their number, one less than the
// bits. Up to 64 bytes at out may be written.
using GapWriter = size_t (*)(std::uint64_t bits, char* out);
// The gap writer (plain code at every level: it is no bottleneck).
GapWriter Gaps();

}  // namespace movra
