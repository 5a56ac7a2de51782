#include "workflows/WindowArguments.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace movra {
namespace {

using Args = std::vector<std::string>;

TEST(ImportFilesOf, TakesImportOptionsAndBareFilesInOrder) {
  const struct {
    Args args;
    Args files;
  } cases[] = {
      {{}, {}},
      {{"--import", "/a/x.cdg"}, {"/a/x.cdg"}},
      {{"--import=/a/x.cdg", "y.CDG", "--import", "z.cdg"}, {"/a/x.cdg", "y.CDG", "z.cdg"}},
      // The folder of --home is no snapshot, whichever form the option takes.
      {{"--home", "/data", "x.cdg"}, {"x.cdg"}},
      {{"--home=/data", "x.cdg"}, {"x.cdg"}},
      // Values and files that look like options.
      {{"--import", "-odd.cdg", "--", "--import"}, {"-odd.cdg", "--import"}},
      // Unknown options are someone else's; a trailing --import names nothing.
      {{"--sync", "--imports", "x.cdg", "--import"}, {"x.cdg"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ImportFilesOf(c.args), c.files) << ::testing::PrintToString(c.args);
  }
}

}  // namespace
}  // namespace movra
