#include "nameindex/NameScanner.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "nameindex/VectorLevels.h"
#include "snapshot/LineFields.h"

namespace movra {
namespace {

// Snapshot-like text whose names hold upper and lower case, double-byte
// characters whose second byte is a marker ('\', '|', '['), runs of lead
// bytes (some longer than 64), stray markers, and lines of every length,
// some crossing 4 KiB.
std::string RandomText(std::mt19937& random) {
  static const char* const kPieces[] = {"E:\\", "Dir\\", "|", "[", "]", "[123]", "2006/3/3", "Name", "mp3",
                                        "\x81\x5C", "\xB1\x7C", "\xC4\x5B", "\xD6\xD0\xCE\xC4", "\xFE", "\xA1",
                                        " ", "\r", "ABCdef", "\\\\", "||"};
  static const std::string kLongRun(71, '\xB0');
  std::string text;
  for (int lines = 200 + random() % 200; lines > 0; --lines) {
    const int pieces = random() % 20 == 0 ? 400 + random() % 800 : random() % 14;
    for (int p = 0; p < pieces; ++p)
      text += random() % 50 == 0 ? kLongRun.c_str() : kPieces[random() % std::size(kPieces)];
    text += random() % 3 == 0 ? "\r\n" : "\n";
  }
  if (random() % 2 == 0) text += "E:\\last\\line[1]";
  return text;
}

// Every line's name is LineName's, with and without vector instructions.
TEST(NameScannerTest, FindsTheNamesLineNameFinds) {
  std::mt19937 random(5);
  NameScanner scanner;
  AtEachVectorLevel([&] {
    for (int round = 0; round < 30; ++round) {
      const std::string text = RandomText(random);
      const std::vector<NameSpan>& names = scanner.Scan(text);
      size_t line = 0;
      for (size_t start = 0; start < text.size(); ++line) {
        const size_t lf = text.find('\n', start);
        const size_t end = lf == std::string::npos ? text.size() : lf;
        std::string_view whole = std::string_view(text).substr(start, end - start);
        if (!whole.empty() && whole.back() == '\r') whole.remove_suffix(1);
        const std::string_view name = LineName(whole);
        ASSERT_LT(line, names.size());
        EXPECT_EQ(names[line].line_start, start);
        EXPECT_EQ(names[line].name_start, static_cast<size_t>(name.data() - text.data())) << "line " << line;
        EXPECT_EQ(names[line].name_size, name.size()) << "line " << line;
        start = end + 1;
      }
      EXPECT_EQ(names.size(), line);
    }
  });
}

}  // namespace
}  // namespace movra
