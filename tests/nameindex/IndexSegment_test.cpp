#include "nameindex/IndexSegment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

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
  const SegmentBytes dense_bytes = WriteSegment(dense, {.common_share = 1, .skip_bytes = 1});
  const SegmentBytes plain_bytes = WriteSegment(plain, {.common_share = 1, .skip_bytes = SIZE_MAX});
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

// A query's candidate blocks are exactly those where lines start whose names
// hold every key of the query: for small and large snapshots (whose keys
// are gathered in different ways) and across list parts.
TEST(IndexSegmentTest, CandidatesAreTheBlocksWhoseNamesHoldEveryKey) {
  std::mt19937 random(13);
  auto word = [&](size_t min, size_t max) {
    std::string text(min + random() % (max - min + 1), ' ');
    for (char& c : text) c = "abcdefghijKLMNOP"[random() % 16];
    return text;
  };
  std::vector<DiscPostings> discs;
  std::vector<std::set<std::uint32_t>> block_keys;  // of every block of the segment
  PostingsExtractor extractor;
  for (const int lines : {600, 5000, 25000}) {
    std::string text;
    const size_t first_block = block_keys.size();
    for (int line = 0; line < lines; ++line) {
      const std::string name = word(2, 9);
      block_keys.resize(first_block + (text.size() >> kBlockShift) + 1);
      for (size_t i = 0; i + 3 <= name.size(); ++i) block_keys.back().insert(KeyOfTrigram(TrigramAt(&name[i])));
      text += "E:\\d\\" + name + "[1]2006/3/3\r\n";
    }
    block_keys.resize(first_block + ((text.size() + (1u << kBlockShift) - 1) >> kBlockShift));
    discs.push_back(extractor.Extract("D" + std::to_string(discs.size()), text, {}, false));
  }
  const SegmentBytes bytes = WriteSegment(discs, {.common_share = 1});
  const auto view = SegmentView::Open({bytes.data(), bytes.size()});
  ASSERT_TRUE(view);
  for (int q = 0; q < 300; ++q) {
    const std::vector<std::uint32_t> keys = QueryKeys(word(3, 5));
    std::vector<std::uint32_t> expected;
    for (std::uint32_t block = 0; block < block_keys.size(); ++block)
      if (std::all_of(keys.begin(), keys.end(), [&](std::uint32_t key) { return block_keys[block].count(key) != 0; }))
        expected.push_back(block);
    EXPECT_EQ(view->CandidateBlocks(keys), expected);
  }
}

// Keys in most blocks get no list and stand for every block: a search may
// only gain candidates by it, never lose one; a search of common keys alone
// gets every block. Leaving their records out while taking discs apart
// changes nothing in the segment written with the same common keys.
TEST(IndexSegmentTest, CommonKeysStandForEveryBlock) {
  std::mt19937 random(11);
  std::vector<std::string> texts;
  for (int d = 0; d < 3; ++d) {
    std::string text;
    for (int lines = d == 1 ? 25000 : 8000; lines > 0; --lines)  // the middle one of two list parts
      text += "E:\\d\\" + Letters(random, 3, 9) + ".mp3[1]2006/3/3\r\n";
    texts.push_back(text);
  }
  auto extract = [&](const KeySet* common) {
    PostingsExtractor extractor(common);
    std::vector<DiscPostings> discs;
    for (size_t d = 0; d < texts.size(); ++d) discs.push_back(extractor.Extract("D" + std::to_string(d), texts[d], {}, false));
    return discs;
  };
  std::vector<DiscPostings> discs = extract(nullptr);
  std::vector<DiscPostings> all_lists = discs;
  const KeySet common = CommonKeys({&discs[0], &discs[1], &discs[2]});
  ASSERT_TRUE(common.Has(QueryKeys(".mp3").front()));
  std::vector<DiscPostings> left_out = extract(&common);
  const SegmentBytes full = WriteSegment(all_lists, {.common_share = 1});
  const SegmentBytes written = WriteSegment(discs, {.common = &common});
  EXPECT_EQ(written, WriteSegment(left_out, {.common = &common}));
  const auto with_all = SegmentView::Open({full.data(), full.size()});
  const auto view = SegmentView::Open({written.data(), written.size()});
  ASSERT_TRUE(with_all && view && with_all->CommonKeys().empty() && !view->CommonKeys().empty());
  const SegmentDisc& last = view->Discs().back();
  const auto every = view->CandidateBlocks(QueryKeys(".mp3"));
  ASSERT_TRUE(every);
  EXPECT_EQ(every->size(), last.first_block + last.BlockCount());

  for (int q = 0; q < 200; ++q) {
    const std::vector<std::uint32_t> keys = QueryKeys(Letters(random, 3, 6) + (q % 2 ? ".mp3" : ""));
    const auto exact = with_all->CandidateBlocks(keys);
    const auto coarse = view->CandidateBlocks(keys);
    ASSERT_TRUE(exact && coarse);
    EXPECT_TRUE(std::includes(coarse->begin(), coarse->end(), exact->begin(), exact->end()));
    const bool any_common = std::any_of(keys.begin(), keys.end(), [&](std::uint32_t key) { return common.Has(key); });
    if (!any_common) {
      EXPECT_EQ(*coarse, *exact);
    }
  }
}

}  // namespace
}  // namespace movra
