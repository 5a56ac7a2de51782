#include "nameindex/IndexSegment.h"

#include <gtest/gtest.h>

#include <random>

#include "nameindex/SegmentBuilder.h"
#include "nameindex/Trigrams.h"

namespace movra {
namespace {

std::string Letters(std::mt19937& random, size_t min, size_t max) {
  std::string text(min + random() % (max - min + 1), ' ');
  for (char& c : text) c = static_cast<char>("abcdeF"[random() % 6]);
  return text;
}

// Skip entries only shorten the decoding: a search of a range of blocks
// finds what a full decode finds in that range, however dense the entries.
TEST(IndexSegmentTest, SkipEntriesGiveTheBlocksOfAFullDecode) {
  std::mt19937 random(7);
  PostingsExtractor extractor;
  std::vector<DiscPostings> dense;
  for (int d = 0; d < 12; ++d) {
    std::string text;
    for (size_t lines = d == 4 ? 25000 : 50 + random() % 2000; lines > 0; --lines)  // one of several list parts
      text += "E:\\d\\" + Letters(random, 3, 12) + ".mp3[1]2006/3/3\r\n";
    dense.push_back(extractor.Extract("D" + std::to_string(10 + d), text, {}, false));
  }
  std::vector<DiscPostings> plain = dense;
  const SegmentBytes dense_bytes = WriteSegment(dense, 1);
  const SegmentBytes plain_bytes = WriteSegment(plain, SIZE_MAX);
  EXPECT_GT(dense_bytes.size(), plain_bytes.size());
  const auto with_skips = SegmentView::Open({dense_bytes.data(), dense_bytes.size()});
  const auto without = SegmentView::Open({plain_bytes.data(), plain_bytes.size()});
  ASSERT_TRUE(with_skips && without);
  const SegmentDisc& last = without->Discs().back();
  const std::uint32_t blocks = last.first_block + last.BlockCount();

  for (int q = 0; q < 300; ++q) {
    const std::vector<std::uint32_t> keys = QueryKeys(Letters(random, 3, 5));
    const std::uint32_t first = random() % blocks;
    const std::uint32_t stop = first + random() % (blocks - first + 1);
    const std::optional<std::vector<std::uint32_t>> all = without->CandidateBlocks(keys);
    ASSERT_TRUE(all);
    std::vector<std::uint32_t> expected;
    for (std::uint32_t block : *all)
      if (block >= first && block < stop) expected.push_back(block);
    EXPECT_EQ(with_skips->CandidateBlocks(keys, first, stop), expected);
    EXPECT_EQ(without->CandidateBlocks(keys, first, stop), expected);
  }
}

}  // namespace
}  // namespace movra
