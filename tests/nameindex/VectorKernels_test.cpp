#include "nameindex/VectorKernels.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "nameindex/Trigrams.h"
#include "nameindex/VectorLevels.h"

namespace movra {
namespace {

// The keys of names are the keys of their trigrams one by one, name after
// name, however few bytes follow the last name; nothing is written beyond
// the room promised.
TEST(VectorKernelsTest, NameKeysAreTheKeysOfEachTrigram) {
  std::mt19937 random(9);
  AtEachVectorLevel([&] {
    for (int round = 0; round < 200; ++round) {
      std::string text(random() % 120, '\0');
      for (char& b : text) b = static_cast<char>("AZaz09_.@[\x81\x5C\xFE\x40|"[random() % 15]);
      std::vector<NameSpan> spans;
      std::vector<std::uint32_t> expected;
      for (int n = random() % 6; n > 0 && !text.empty(); --n) {
        const auto start = static_cast<std::uint32_t>(random() % text.size());
        const auto size = static_cast<std::uint32_t>(random() % (text.size() - start + 1));
        spans.push_back({0, start, size});
        for (size_t i = start; i + 3 <= start + size; ++i) expected.push_back(KeyOfTrigram(TrigramAt(&text[i])));
      }
      std::vector<std::uint32_t> keys(expected.size() + 33, 0xDEAD);
      ASSERT_EQ(NameKeys(text, spans.data(), spans.size(), keys.data()), expected.size());
      EXPECT_EQ(std::vector<std::uint32_t>(keys.begin(), keys.begin() + static_cast<long>(expected.size())), expected);
      EXPECT_EQ(keys.back(), 0xDEADu);
    }
  });
}

// Gaps between set bits, and which of many values are not zero, for sparse
// and dense words alike.
TEST(VectorKernelsTest, GapsAndNonZeroMarksFollowTheBits) {
  std::mt19937_64 random(3);
  AtEachVectorLevel([&] {
    for (int round = 0; round < 300; ++round) {
      std::uint64_t bits = random() & random() & (round % 2 ? random() : ~std::uint64_t{0});
      if (bits == 0) bits = std::uint64_t{1} << (round % 64);
      std::vector<char> gaps(64);
      std::vector<char> expected;
      for (int bit = 0, previous = -1; bit < 64; ++bit)
        if (bits >> bit & 1) {
          if (previous >= 0) expected.push_back(static_cast<char>(bit - previous));
          previous = bit;
        }
      ASSERT_EQ(Gaps()(bits, gaps.data()), expected.size());
      EXPECT_EQ(std::vector<char>(gaps.begin(), gaps.begin() + static_cast<long>(expected.size())), expected);
    }
    std::vector<std::uint64_t> values(1024), marks(16, ~std::uint64_t{0});
    for (std::uint64_t& v : values) v = random() % 3 == 0 ? std::uint64_t{1} << (random() % 64) : 0;
    MarkNonZero(values.data(), values.size(), marks.data());
    for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(marks[i / 64] >> (i % 64) & 1, values[i] != 0 ? 1u : 0u);
  });
}

}  // namespace
}  // namespace movra
