// Trigram keys of entry names. Every ASCII letter byte A-Z counts as a-z,
// also the second byte of a double-byte character. That is coarser than the
// matcher's folding, and on purpose: whenever a name matches, the required
// text of the search occurs in the name or in the name folded as the matcher
// folds it, and either way its coarse trigrams are among the name's. So one
// set of keys serves case-sensitive and case-insensitive searches alike and
// never loses a match; the matcher itself then decides each candidate.
//
// The index files a trigram under one of 2^16 keys, a hash of it: trigrams
// that share a key share a posting list, which only adds candidates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace movra {

// Number of bits of a key.
constexpr unsigned kKeyBits = 16;

// The byte with A-Z taken as a-z.
inline unsigned char CoarseFold(unsigned char b) { return b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b; }

// The 24-bit trigram of the three bytes at p: the first byte lowest.
inline std::uint32_t TrigramAt(const char* p) {
  return std::uint32_t{CoarseFold(static_cast<unsigned char>(p[0]))} |
         (std::uint32_t{CoarseFold(static_cast<unsigned char>(p[1]))} << 8) |
         (std::uint32_t{CoarseFold(static_cast<unsigned char>(p[2]))} << 16);
}

// The multiplier that spreads trigrams over the keys.
constexpr std::uint32_t kTrigramMultiplier = 0x9E3779B1u;

// The key a trigram is filed under.
inline std::uint32_t KeyOfTrigram(std::uint32_t trigram) { return (trigram * kTrigramMultiplier) >> (32 - kKeyBits); }

// A set of keys, a bit each.
class KeySet {
 public:
  KeySet() : words_((std::size_t{1} << kKeyBits) / 64) {}
  // True when key is in the set.
  bool Has(std::uint32_t key) const { return (words_[key / 64] >> (key % 64) & 1) != 0; }
  // Puts key in the set.
  void Add(std::uint32_t key) { words_[key / 64] |= std::uint64_t{1} << (key % 64); }
  // The bits of keys 64 * w to 64 * w + 63.
  std::uint64_t Word(std::size_t w) const { return words_[w]; }

 private:
  std::vector<std::uint64_t> words_;
};

// The distinct keys of a search's required text, ascending; empty when it
// is shorter than three bytes.
std::vector<std::uint32_t> QueryKeys(std::string_view required);

}  // namespace movra
