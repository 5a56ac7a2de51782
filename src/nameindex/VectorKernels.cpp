#include "nameindex/VectorKernels.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstring>

#include "nameindex/Trigrams.h"

// The AVX2 kernels are compiled for any x86-64 processor and used only where it has AVX2.
#if defined(__x86_64__) && defined(__GNUC__)
#define MOVRA_HAVE_X86_VECTORS 1
#include <immintrin.h>
#endif

namespace movra {
namespace {

VectorLevel DetectLevel() {
#if defined(MOVRA_HAVE_X86_VECTORS)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) return VectorLevel::kAvx2;
#endif
  return VectorLevel::kPlain;
}

const VectorLevel machine_level = DetectLevel();
std::atomic<VectorLevel> level{machine_level};

// ---- Plain code ----

// Eight bytes at a time in a 64-bit word ("SIMD within a register").
constexpr std::uint64_t kEachByte = 0x0101010101010101ull;
constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;

// The eight bytes at p, the first lowest whatever the machine.
inline std::uint64_t LoadEight(const void* p) {
  std::uint64_t x;
  std::memcpy(&x, p, 8);
  if constexpr (std::endian::native == std::endian::big) x = __builtin_bswap64(x);
  return x;
}

// Stores x at p, its lowest byte first.
inline void StoreEight(void* p, std::uint64_t x) {
  if constexpr (std::endian::native == std::endian::big) x = __builtin_bswap64(x);
  std::memcpy(p, &x, 8);
}

// The high bit of each byte of x that is zero.
inline std::uint64_t ZeroBytes(std::uint64_t x) { return ~(((x & kLow7) + kLow7) | x | kLow7); }

// A bit per byte, lowest byte lowest, from the high bits of the bytes of x.
inline unsigned PackHighBits(std::uint64_t x) {
  return static_cast<unsigned>(((x >> 7) * 0x0102040810204080ull) >> 56);
}

void MarkWindowPlain(std::string_view text, size_t begin, WindowMarks& marks) {
  const size_t size = std::min(text.size() - begin, 64 * WindowMarks::kWords);
  const unsigned char* const bytes = reinterpret_cast<const unsigned char*>(text.data() + begin);
  for (size_t w = 0; w < WindowMarks::kWords; ++w) {
    std::uint64_t ends = 0, backslashes = 0, bars = 0, opens = 0, doubles = 0;
    for (unsigned at = 0; at < 64 && w * 64 + at < size; at += 8) {
      // Eight bytes, the first lowest whatever the machine; zeros beyond the text.
      std::uint64_t x = 0;
      if (w * 64 + at + 8 <= size) {
        x = LoadEight(bytes + w * 64 + at);
      } else {
        for (unsigned i = 0; w * 64 + at + i < size; ++i) x |= std::uint64_t{bytes[w * 64 + at + i]} << (8 * i);
      }
      ends |= std::uint64_t{PackHighBits(ZeroBytes(x ^ ('\n' * kEachByte)))} << at;
      backslashes |= std::uint64_t{PackHighBits(ZeroBytes(x ^ ('\\' * kEachByte)))} << at;
      bars |= std::uint64_t{PackHighBits(ZeroBytes(x ^ ('|' * kEachByte)))} << at;
      opens |= std::uint64_t{PackHighBits(ZeroBytes(x ^ ('[' * kEachByte)))} << at;
      // 0x80-0xFF, less 0x80 and 0xFF.
      const std::uint64_t high = x & ~kLow7 & ~ZeroBytes(x ^ (0x80 * kEachByte)) & ~ZeroBytes(~x);
      doubles |= std::uint64_t{PackHighBits(high)} << at;
    }
    marks.line_ends[w] = ends;
    marks.backslashes[w] = backslashes;
    marks.bars[w] = bars;
    marks.opens[w] = opens;
    marks.doubles[w] = doubles;
  }
}

// The plain keys of one name of size bytes (three or more); each byte is
// folded once and slides through the trigram.
size_t KeysPlain(const char* name, size_t size, std::uint32_t* keys) {
  auto folded = [name](size_t i) { return std::uint32_t{CoarseFold(static_cast<unsigned char>(name[i]))}; };
  std::uint32_t trigram = folded(0) << 8 | folded(1) << 16;
  for (size_t i = 2; i < size; ++i) {
    trigram = trigram >> 8 | folded(i) << 16;
    keys[i - 2] = KeyOfTrigram(trigram);
  }
  return size - 2;
}

// For each byte value, the places of its set bits, lowest first, and
// their number (a table: without a popcount instruction, std::popcount is a call).
struct BitPlaces {
  std::array<std::array<unsigned char, 8>, 256> places{};
  std::array<unsigned char, 256> counts{};
  constexpr BitPlaces() {
    for (unsigned value = 0; value < 256; ++value)
      for (unsigned bit = 0; bit < 8; ++bit)
        if (value >> bit & 1) places[value][counts[value]++] = static_cast<unsigned char>(bit);
  }
};
constexpr BitPlaces kBitPlaces;

// The places of the bits are gathered a byte of bits at a time, then
// subtracted from the next eight at a time: a fixed number of steps,
// without a branch on how many bits there are.
size_t GapsPlain(std::uint64_t bits, char* out) {
  unsigned char places[64 + 16] = {};
  size_t count = 0;
  for (unsigned byte = 0; byte < 8; ++byte) {
    const unsigned value = (bits >> (8 * byte)) & 0xFF;
    // Adding to every byte at once: no byte carries, places stay below 64.
    StoreEight(places + count, LoadEight(kBitPlaces.places[value].data()) + 8 * byte * kEachByte);
    count += kBitPlaces.counts[value];
  }
  // Places ascend, so no difference up to the last place borrows; the bytes
  // after it hold anything, and a borrow only ever moves on to later bytes.
  for (unsigned at = 0; at < 64; at += 8) StoreEight(out + at, LoadEight(places + at + 1) - LoadEight(places + at));
  return count - 1;
}

#if defined(MOVRA_HAVE_X86_VECTORS)

// ---- AVX2 ----

// Marks words [to, kWords) of the window at begin in plain code: a window
// of their own whose first word is word to. For the last words of a text,
// which a full vector load would read past.
void MarkRestPlain(std::string_view text, size_t begin, size_t to, WindowMarks& marks) {
  if (to == WindowMarks::kWords) return;
  WindowMarks rest;
  MarkWindowPlain(text, begin + to * 64, rest);
  for (size_t r = 0; to < WindowMarks::kWords; ++to, ++r) {
    marks.line_ends[to] = rest.line_ends[r];
    marks.backslashes[to] = rest.backslashes[r];
    marks.bars[to] = rest.bars[r];
    marks.opens[to] = rest.opens[r];
    marks.doubles[to] = rest.doubles[r];
  }
}

// The keys of the names at spans[0, count), as NameKeys: round(name + i,
// keys + i) makes kRound keys (and may write up to kRound) while kReach
// bytes from name + i lie within the text; the rest of a name is done
// plain. Inlined, so that the vector kernel's own round is inlined in its turn.
template <size_t kRound, size_t kReach, typename Round>
[[gnu::always_inline]] inline size_t KeysInRounds(std::string_view text, const NameSpan* spans, size_t count,
                                                  std::uint32_t* keys, Round round) {
  std::uint32_t* out = keys;
  for (const NameSpan* span = spans; span < spans + count; ++span) {
    if (span->name_size < 3) continue;
    const char* const name = text.data() + span->name_start;
    const size_t name_keys = span->name_size - 2;
    const size_t readable = text.size() - span->name_start;
    size_t i = 0;
    for (; i < name_keys && i + kReach <= readable; i += kRound) round(name + i, out + i);
    if (i < name_keys) KeysPlain(name + i, span->name_size - i, out + i);
    out += name_keys;
  }
  return static_cast<size_t>(out - keys);
}

// A bit for each of 64 bytes (two halves) that equals c.
__attribute__((target("avx2"))) inline std::uint64_t EqualBits(__m256i low, __m256i high, __m256i c) {
  return std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, c)))} |
         std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, c)))} << 32;
}

// A bit for each of 32 bytes in 0x81-0xFE, that is -127 to -2 signed.
__attribute__((target("avx2"))) inline std::uint32_t DoubleBits(__m256i v) {
  const __m256i low = _mm256_cmpgt_epi8(v, _mm256_set1_epi8(-128));
  const __m256i high = _mm256_cmpgt_epi8(_mm256_set1_epi8(-1), v);
  return static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(low, high)));
}

// The full 64-byte words with AVX2, the rest in plain code.
__attribute__((target("avx2"))) void MarkWindowAvx2(std::string_view text, size_t begin, WindowMarks& marks) {
  const size_t size = std::min(text.size() - begin, 64 * WindowMarks::kWords);
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i backslash = _mm256_set1_epi8('\\');
  const __m256i bar = _mm256_set1_epi8('|');
  const __m256i open = _mm256_set1_epi8('[');
  const char* const bytes = text.data() + begin;
  size_t w = 0;
  for (; (w + 1) * 64 <= size; ++w) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + w * 64));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + w * 64 + 32));
    marks.line_ends[w] = EqualBits(low, high, lf);
    marks.backslashes[w] = EqualBits(low, high, backslash);
    marks.bars[w] = EqualBits(low, high, bar);
    marks.opens[w] = EqualBits(low, high, open);
    marks.doubles[w] = std::uint64_t{DoubleBits(low)} | std::uint64_t{DoubleBits(high)} << 32;
  }
  MarkRestPlain(text, begin, w, marks);
}

// Sixteen keys a round, from two 16-byte loads, while 24 bytes can be
// read; the rest plain. Most names take one round.
__attribute__((target("avx2"))) size_t NameKeysAvx2(std::string_view text, const NameSpan* spans, size_t count,
                                                    std::uint32_t* keys) {
  const __m256i a = _mm256_set1_epi8('A');
  const __m256i flip = _mm256_set1_epi8(static_cast<char>(0x80));
  const __m256i below = _mm256_set1_epi8(static_cast<char>(0x80 + 26));
  const __m256i lower = _mm256_set1_epi8('a' - 'A');
  // Per 128-bit lane: the trigrams at bytes 0-3 of the lane's 16 bytes, then
  // those at bytes 4-7; the fourth byte of each 32-bit trigram is zero.
  const __m256i first_four = _mm256_setr_epi8(0, 1, 2, -1, 1, 2, 3, -1, 2, 3, 4, -1, 3, 4, 5, -1,  //
                                              0, 1, 2, -1, 1, 2, 3, -1, 2, 3, 4, -1, 3, 4, 5, -1);
  const __m256i next_four = _mm256_setr_epi8(4, 5, 6, -1, 5, 6, 7, -1, 6, 7, 8, -1, 7, 8, 9, -1,  //
                                             4, 5, 6, -1, 5, 6, 7, -1, 6, 7, 8, -1, 7, 8, 9, -1);
  const __m256i multiplier = _mm256_set1_epi32(static_cast<int>(kTrigramMultiplier));
  auto hash = [&](__m256i trigrams) __attribute__((target("avx2"))) {
    return _mm256_srli_epi32(_mm256_mullo_epi32(trigrams, multiplier), 32 - kKeyBits);
  };
  return KeysInRounds<16, 24>(text, spans, count, keys, [&](const char* at, std::uint32_t* out)
                                  __attribute__((target("avx2"))) {
    // Lane one holds bytes 0-15, lane two bytes 8-23, folded to lower case.
    __m256i v = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(at + 8), reinterpret_cast<const __m128i*>(at));
    v = _mm256_add_epi8(v, _mm256_and_si256(_mm256_cmpgt_epi8(below, _mm256_xor_si256(_mm256_sub_epi8(v, a), flip)),
                                            lower));
    // Keys 0-3 and 8-11, then 4-7 and 12-15.
    const __m256i low = hash(_mm256_shuffle_epi8(v, first_four));
    const __m256i high = hash(_mm256_shuffle_epi8(v, next_four));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_permute2x128_si256(low, high, 0x20));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 8), _mm256_permute2x128_si256(low, high, 0x31));
  });
}

__attribute__((target("avx2"))) void MarkNonZeroAvx2(const std::uint64_t* values, size_t count,
                                                     std::uint64_t* bits) {
  const __m256i zero = _mm256_setzero_si256();
  for (size_t w = 0; w < count / 64; ++w) {
    std::uint64_t word = 0;
    for (unsigned i = 0; i < 64; i += 4) {
      const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(values + w * 64 + i));
      const auto zeros = static_cast<unsigned>(_mm256_movemask_pd(_mm256_castsi256_pd(_mm256_cmpeq_epi64(v, zero))));
      word |= std::uint64_t{~zeros & 0xFu} << i;
    }
    bits[w] = word;
  }
}

#endif

VectorLevel Level() { return level.load(std::memory_order_relaxed); }

}  // namespace

VectorLevel MachineVectorLevel() { return machine_level; }

void LimitVectorLevel(VectorLevel limit) { level = std::min(limit, machine_level); }

VectorLevel UsedVectorLevel() { return Level(); }

void MarkWindow(std::string_view text, size_t begin, WindowMarks& marks) {
#if defined(MOVRA_HAVE_X86_VECTORS)
  switch (Level()) {
    case VectorLevel::kAvx2: return MarkWindowAvx2(text, begin, marks);
    case VectorLevel::kPlain: break;
  }
#endif
  MarkWindowPlain(text, begin, marks);
}

size_t NameKeys(std::string_view text, const NameSpan* spans, size_t count, std::uint32_t* keys) {
#if defined(MOVRA_HAVE_X86_VECTORS)
  switch (Level()) {
    case VectorLevel::kAvx2: return NameKeysAvx2(text, spans, count, keys);
    case VectorLevel::kPlain: break;
  }
#endif
  std::uint32_t* out = keys;
  for (const NameSpan* span = spans; span < spans + count; ++span)
    if (span->name_size >= 3) out += KeysPlain(text.data() + span->name_start, span->name_size, out);
  return static_cast<size_t>(out - keys);
}

void MarkNonZero(const std::uint64_t* values, size_t count, std::uint64_t* bits) {
#if defined(MOVRA_HAVE_X86_VECTORS)
  switch (Level()) {
    case VectorLevel::kAvx2: return MarkNonZeroAvx2(values, count, bits);
    case VectorLevel::kPlain: break;
  }
#endif
  for (size_t w = 0; w < count / 64; ++w) {
    std::uint64_t word = 0;
    for (unsigned i = 0; i < 64; ++i) word |= std::uint64_t{values[w * 64 + i] != 0} << i;
    bits[w] = word;
  }
}

GapWriter Gaps() { return GapsPlain; }

}  // namespace movra
