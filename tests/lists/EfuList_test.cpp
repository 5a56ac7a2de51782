// The file-list reader takes lists made elsewhere (a byte-order mark, LF
// line ends, blank lines, columns in another order, quoted line breaks) and
// names the first line that does not parse.
#include "lists/EfuList.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/TextCodec.h"
#include "support/TempDir.h"

namespace movra {
namespace {

class EfuListTest : public ::testing::Test {
 protected:
  EfuReadResult Read(std::string_view text) {
    rows_.clear();
    return ReadEfu(text, [this](EfuRow&& row) { rows_.push_back(std::move(row)); });
  }
  std::vector<EfuRow> rows_;
};

TEST_F(EfuListTest, ReadsListsWrittenElsewhere) {
  test::ScopedTimeZone utc("UTC0");
  const EfuReadResult read = Read(
      "\xEF\xBB\xBF" "Attributes,Filename,Extra,Date Modified\n"
      "16,C:\\照片,x,\n"
      "\n"
      "32,\"C:\\a \"\"b\"\"\r\nc.txt\",,116444736000000000\r\n");
  ASSERT_TRUE(read.ok()) << read.bad_line;
  ASSERT_EQ(rows_.size(), 2u);
  EXPECT_EQ(rows_[0].filename, Utf8ToGbk("C:\\照片"));
  EXPECT_TRUE(rows_[0].IsFolder());
  EXPECT_EQ(rows_[0].modified, std::nullopt);
  EXPECT_EQ(rows_[0].size, std::nullopt);
  EXPECT_EQ(rows_[1].filename, "C:\\a \"b\"\r\nc.txt");
  EXPECT_FALSE(rows_[1].IsFolder());
  EXPECT_EQ(rows_[1].modified, EncodeDateTime({1970, 1, 1, 0, 0, 0}));
}

TEST_F(EfuListTest, NamesTheFirstLineThatDoesNotParse) {
  const std::string header = "Filename,Size,Date Modified,Date Created,Attributes\r\n";
  const std::string good = "\"D\\a\",1,,,0\r\n";
  const std::pair<std::string, std::size_t> cases[] = {
      {"", 1},                                            // no header
      {"Name,Size\r\n" + good, 1},                         // no Filename column
      {header + good + "\"D\\b\",1,,0\r\n", 3},            // a field short
      {header + good + "\"D\\b,1,,,0\r\n", 3},             // quote not closed
      {header + good + "\"D\\b\"x,1,,,0\r\n", 3},          // text after the closing quote
      {header + "\"D\\\r\nb\",1,,,0\r\n" + "\"c\",-1,,,0\r\n", 4},  // after a quoted line break
      {header + good + "\"c\",12k,,,0\r\n", 3},            // size no number
      {header + good + "\"c\",1,-5,,0\r\n", 3},            // time no FILETIME
      {header + good + "\"c\",1,,,dir\r\n", 3},            // attributes no number
      {header + good + "\"\xD5\x5C\",1,,,0\r\n", 3},       // name not UTF-8 (GBK)
  };
  for (const auto& [text, line] : cases) {
    const EfuReadResult read = Read(text);
    EXPECT_EQ(read.bad_line, line) << text;
    EXPECT_EQ(read.rows, rows_.size()) << text;
  }
}

}  // namespace
}  // namespace movra
