// Lists of results rows: which rows go (the chosen ones; never the headers of
// groups of duplicates), which disc each row names, and the format a file
// name's extension picks.
#include "workflows/ListExport.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/TextCodec.h"
#include "workflows/FindDuplicates.h"

namespace movra {
namespace {

class TextSink : public ByteSink {
 public:
  bool Write(std::string_view bytes) override {
    text += bytes;
    return true;
  }
  std::string text;
};

TEST(ListFormatOfPathTest, TheExtensionPicksTheFormatInEitherCase) {
  const std::pair<const char*, std::optional<ListFormat>> cases[] = {
      {"a.CSV", ListFormat::kCsv},   {"/x/list.htm", ListFormat::kHtml}, {"b.html", ListFormat::kHtml},
      {"c.efu", ListFormat::kEfu},   {"d.txt", ListFormat::kTsv},        {"e.json", ListFormat::kJson},
      {"noext", std::nullopt},       {"dir.csv/file", std::nullopt},     {"f.doc", std::nullopt},
  };
  for (const auto& [path, format] : cases) EXPECT_EQ(ListFormatOfPath(path), format) << path;
}

TEST(WriteResultRowsTest, EachRowNamesTheDiscAboveItAndOnlyChosenEntryRowsGo) {
  SearchResults rows;
  AddDuplicateRows({{5, {{0, "E:\\A\\", "x.txt", 38779.0}, {1, "F:\\", "X.TXT", 38779.0}}}},
                   {Utf8ToGbk("电影\\DVD1"), "DVD2"}, rows);
  // 0 group, 1 [ 电影\DVD1 ], 2 x.txt, 3 [ DVD2 ], 4 X.TXT
  ASSERT_EQ(rows.size(), 5u);
  const std::pair<std::vector<std::size_t>, std::string> cases[] = {
      {{}, "电影\\DVD1\tE:\\A\\\tx.txt\tfile\t5\t2006-03-03 00:00:00\nDVD2\tF:\\\tX.TXT\tfile\t5\t2006-03-03 00:00:00\n"},
      {{0, 4}, "DVD2\tF:\\\tX.TXT\tfile\t5\t2006-03-03 00:00:00\n"},
      {{1, 3}, ""},
  };
  for (const auto& [chosen, text] : cases) {
    TextSink sink;
    const std::unique_ptr<ListWriter> writer = MakeListWriter(ListFormat::kTsv, sink);
    EXPECT_EQ(WriteResultRows(rows, chosen, *writer), static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
    ASSERT_TRUE(writer->Finish());
    EXPECT_EQ(sink.text, text);
  }
}

}  // namespace
}  // namespace movra
