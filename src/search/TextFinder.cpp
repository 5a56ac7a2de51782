#include "search/TextFinder.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define MOVRA_HAVE_SSE2 1
#endif

namespace movra {
namespace {

constexpr size_t npos = std::string_view::npos;

char FoldByte(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

TextFinder::TextFinder(std::string_view needle, bool fold_case) : needle_(needle), fold_case_(fold_case) {
  if (fold_case_)
    for (char& c : needle_) c = FoldByte(c);
}

bool TextFinder::Equals(const char* at) const {
  if (!fold_case_) return std::memcmp(at, needle_.data(), needle_.size()) == 0;
  for (size_t k = 0; k < needle_.size(); ++k)
    if (FoldByte(at[k]) != needle_[k]) return false;
  return true;
}

// Candidates are the places where the first and the last byte of the needle
// both fit, tested sixteen places at a time; only they are compared whole.
// A letter of the folded needle is compared after setting bit 0x20 of the
// text byte, which makes A-Z into a-z and leaves a-z alone; any byte this
// lets through wrongly is rejected by the whole comparison.
size_t TextFinder::Find(std::string_view text, size_t from) const {
  const size_t m = needle_.size();
  if (from > text.size()) return npos;
  if (m == 0) return from;
  if (text.size() - from < m) return npos;
  const size_t last_start = text.size() - m;
  const char* const data = text.data();
  const char first = needle_.front();
  const char last = needle_.back();
  const char first_or = fold_case_ && IsLetter(first) ? 0x20 : 0;
  const char last_or = fold_case_ && IsLetter(last) ? 0x20 : 0;
  size_t i = from;
#ifdef MOVRA_HAVE_SSE2
  const __m128i want_first = _mm_set1_epi8(first);
  const __m128i want_last = _mm_set1_epi8(last);
  const __m128i or_first = _mm_set1_epi8(first_or);
  const __m128i or_last = _mm_set1_epi8(last_or);
  for (; i + 16 <= last_start + 1; i += 16) {
    const __m128i head = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i)), or_first);
    const __m128i tail = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + m - 1)), or_last);
    auto mask = static_cast<std::uint32_t>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(head, want_first), _mm_cmpeq_epi8(tail, want_last))));
    while (mask != 0) {
      const size_t at = i + static_cast<size_t>(std::countr_zero(mask));
      if (Equals(data + at)) return at;
      mask &= mask - 1;
    }
  }
#endif
  for (; i <= last_start; ++i) {
    if (static_cast<char>(data[i] | first_or) == first && static_cast<char>(data[i + m - 1] | last_or) == last &&
        Equals(data + i))
      return i;
  }
  return npos;
}

}  // namespace movra
