#include "nameindex/SnapshotLines.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/FileStamp.h"
#include "support/TempDir.h"

namespace movra {
namespace {

// The lines of text that start within the ranges, as one string.
std::string LinesStartingIn(std::string_view text, const TextRanges& ranges) {
  std::string out;
  for (size_t start = 0; start < text.size();) {
    const size_t lf = text.find('\n', start);
    const size_t end = lf == std::string_view::npos ? text.size() : lf + 1;
    for (const auto& [begin, stop] : ranges)
      if (start >= begin && start < stop) out += text.substr(start, end - start);
    start = end;
  }
  return out;
}

// Any ranges, lines of any length (some longer than a range), a last line
// without a line end, and bytes after the text's end that must stay unread.
TEST(SnapshotLinesTest, ReadsExactlyTheLinesThatStartInTheRanges) {
  std::mt19937 random(11);
  test::TempDir dir;
  for (int round = 0; round < 40; ++round) {
    std::string text;
    while (text.size() < 20000) {
      text += std::string(random() % 8 == 0 ? 3000 + random() % 6000 : random() % 90, 'a' + random() % 26);
      text += random() % 5 == 0 ? "\r\n" : "\n";
    }
    if (round % 2 == 0) text += "last line without end";
    const std::string file = text + "\x1A" "E:\\after the end\r\n";
    const std::string path = dir / "s.cdg";
    test::WriteBytes(path, file);

    TextRanges ranges;
    for (std::uint64_t at = random() % 2000; at < text.size(); at += 1 + random() % 5000) {
      const std::uint64_t end = std::min<std::uint64_t>(text.size(), at + 1 + random() % 4096);
      ranges.emplace_back(at, end);
      at = end;
    }
    const std::optional<ReadOnlyFile> snapshot = ReadOnlyFile::Open(path);
    ASSERT_TRUE(snapshot);
    const SnapshotStamp stamp = *StampOfFile(path);
    std::string buffer;
    const auto pieces = ReadLinesInRanges(*snapshot, stamp, text.size(), ranges, buffer);
    ASSERT_TRUE(pieces);
    std::string joined;
    for (std::string_view piece : *pieces) joined += piece;
    EXPECT_EQ(joined, LinesStartingIn(text, ranges)) << "round " << round;

    SnapshotStamp other = stamp;
    other.size += 1;  // no longer the file the index was made from
    EXPECT_FALSE(ReadLinesInRanges(*snapshot, other, text.size(), ranges, buffer));
  }
}

}  // namespace
}  // namespace movra
