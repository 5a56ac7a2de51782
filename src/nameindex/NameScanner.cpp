#include "nameindex/NameScanner.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "nameindex/Trigrams.h"
#include "snapshot/LineFields.h"

#if defined(__x86_64__) && defined(__GNUC__)
#define MOVRA_HAVE_AVX2 1
#include <immintrin.h>

#include <atomic>
#endif

namespace movra {
namespace {

constexpr size_t npos = static_cast<size_t>(-1);

// A bit per byte of one window of text, for each byte the names depend on.
struct WindowMarks {
  static constexpr size_t kWords = 64;  // a window of 4 KiB
  std::uint64_t line_ends[kWords];      // LF
  std::uint64_t backslashes[kWords];
  std::uint64_t bars[kWords];
  std::uint64_t opens[kWords];          // '['
};

#if defined(MOVRA_HAVE_AVX2)
std::atomic<bool> avx2_allowed{true};

// Whether the processor has AVX2 (asked once) and it may be used.
bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has && avx2_allowed;
}

// A bit for each of 64 bytes (two halves) that equals c.
__attribute__((target("avx2"))) inline std::uint64_t EqualBits(__m256i low, __m256i high, __m256i c) {
  return std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, c)))} |
         std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, c)))} << 32;
}

// MarkWindow's full 64-byte words with AVX2; returns the number of words done.
__attribute__((target("avx2"))) size_t MarkWindowAvx2(const char* bytes, size_t size, WindowMarks& marks) {
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i backslash = _mm256_set1_epi8('\\');
  const __m256i bar = _mm256_set1_epi8('|');
  const __m256i open = _mm256_set1_epi8('[');
  size_t w = 0;
  for (; (w + 1) * 64 <= size && w < WindowMarks::kWords; ++w) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + w * 64));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes + w * 64 + 32));
    marks.line_ends[w] = EqualBits(low, high, lf);
    marks.backslashes[w] = EqualBits(low, high, backslash);
    marks.bars[w] = EqualBits(low, high, bar);
    marks.opens[w] = EqualBits(low, high, open);
  }
  return w;
}

// NameKeys's keys with AVX2, eight at a time while 16 bytes can be read;
// returns the number of keys done.
__attribute__((target("avx2"))) size_t NameKeysAvx2(const char* name, size_t keys, size_t readable,
                                                    std::uint32_t* out) {
  const __m128i a = _mm_set1_epi8('A');
  const __m128i flip = _mm_set1_epi8(static_cast<char>(0x80));
  const __m128i below = _mm_set1_epi8(static_cast<char>(0x80 + 26));
  const __m128i lower = _mm_set1_epi8('a' - 'A');
  // Lane one takes the trigrams at bytes 0-3, lane two those at 4-7; the
  // fourth byte of each 32-bit trigram is zero.
  const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 1, 2, 3, -1, 2, 3, 4, -1, 3, 4, 5, -1,  //
                                          4, 5, 6, -1, 5, 6, 7, -1, 6, 7, 8, -1, 7, 8, 9, -1);
  const __m256i multiplier = _mm256_set1_epi32(static_cast<int>(kTrigramMultiplier));
  size_t i = 0;
  for (; i < keys && i + 16 <= readable; i += 8) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(name + i));
    v = _mm_add_epi8(v, _mm_and_si128(_mm_cmplt_epi8(_mm_xor_si128(_mm_sub_epi8(v, a), flip), below), lower));
    const __m256i trigrams = _mm256_shuffle_epi8(_mm256_broadcastsi128_si256(v), spread);
    const __m256i hashed = _mm256_srli_epi32(_mm256_mullo_epi32(trigrams, multiplier), 32 - kKeyBits);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), hashed);
  }
  return std::min(i, keys);
}
#endif

// Marks the bytes of text[begin, begin + 64 * WindowMarks::kWords), as far as text goes.
void MarkWindow(std::string_view text, size_t begin, WindowMarks& marks) {
  size_t w = 0;
  const size_t end = std::min(text.size(), begin + 64 * WindowMarks::kWords);
#if defined(MOVRA_HAVE_AVX2)
  if (HasAvx2()) w = MarkWindowAvx2(text.data() + begin, end - begin, marks);
#endif
  for (; w < WindowMarks::kWords; ++w) {
    std::uint64_t ends = 0, backslashes = 0, bars = 0, opens = 0;
    for (size_t i = begin + w * 64; i < std::min(end, begin + w * 64 + 64); ++i) {
      const char b = text[i];
      const unsigned bit = i % 64;
      ends |= std::uint64_t{b == '\n'} << bit;
      backslashes |= std::uint64_t{b == '\\'} << bit;
      bars |= std::uint64_t{b == '|'} << bit;
      opens |= std::uint64_t{b == '['} << bit;
    }
    marks.line_ends[w] = ends;
    marks.backslashes[w] = backslashes;
    marks.bars[w] = bars;
    marks.opens[w] = opens;
  }
}

// The last marker of a kind (its bits, window offsets) in [low, high) of the
// line starting at line_start (window offset), that is not the second byte
// of a character; npos when there is none. The bytes are the window's.
inline size_t LastMarker(const std::uint64_t* bits, const char* window, size_t line_start, size_t low, size_t high) {
  while (high > low) {
    const size_t w = (high - 1) / 64;
    std::uint64_t word = bits[w];
    if (high - w * 64 < 64) word &= (std::uint64_t{1} << (high - w * 64)) - 1;
    if (w == low / 64) word &= ~std::uint64_t{0} << (low % 64);
    if (word == 0) {
      high = w * 64;
      continue;
    }
    const size_t pos = w * 64 + 63 - static_cast<size_t>(std::countl_zero(word));
    if (!IsTrailByte(std::string_view(window + line_start, pos - line_start + 1), pos - line_start)) return pos;
    high = pos;
  }
  return npos;
}

}  // namespace

const std::vector<NameSpan>& NameScanner::Scan(std::string_view text) {
  names_.clear();
  // A line that starts in an earlier window is taken apart by LineName.
  auto add_long_line = [&](size_t start, size_t end) {
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view name = LineName(line);
    names_.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(name.data() - text.data()),
                      static_cast<std::uint32_t>(name.size())});
  };
  WindowMarks marks;
  size_t start = 0;
  for (size_t begin = 0; begin < text.size(); begin += 64 * WindowMarks::kWords) {
    MarkWindow(text, begin, marks);
    const char* window = text.data() + begin;
    for (size_t w = 0; w < WindowMarks::kWords; ++w)
      for (std::uint64_t bits = marks.line_ends[w]; bits != 0; bits &= bits - 1) {
        const size_t end = w * 64 + static_cast<size_t>(std::countr_zero(bits));  // window offsets from here
        if (start < begin) {
          add_long_line(start, begin + end);
          start = begin + end + 1;
          continue;
        }
        const size_t line = start - begin;
        const size_t line_end = end > line && window[end - 1] == '\r' ? end - 1 : end;
        // After the last bar, or the last backslash without one; up to the
        // last '[' after that, if any.
        size_t name = LastMarker(marks.bars, window, line, line, line_end);
        if (name == npos) name = LastMarker(marks.backslashes, window, line, line, line_end);
        name = name == npos ? line : name + 1;
        const size_t open = LastMarker(marks.opens, window, line, name, line_end);
        const size_t name_end = open == npos ? line_end : open;
        names_.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint32_t>(begin + name),
                          static_cast<std::uint32_t>(name_end - name)});
        start = begin + end + 1;
      }
  }
  if (start < text.size()) add_long_line(start, text.size());
  return names_;
}

void AllowVectorScan(bool allow) {
#if defined(MOVRA_HAVE_AVX2)
  avx2_allowed = allow;
#else
  (void)allow;
#endif
}

size_t NameKeys(const char* name, size_t size, size_t readable, std::uint32_t* keys) {
  if (size < 3) return 0;
  const size_t count = size - 2;
  size_t i = 0;
#if defined(MOVRA_HAVE_AVX2)
  if (HasAvx2()) i = NameKeysAvx2(name, count, readable, keys);
#endif
  for (; i < count; ++i) keys[i] = KeyOfTrigram(TrigramAt(name + i));
  return count;
}

}  // namespace movra
