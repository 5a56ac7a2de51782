#include "platform/HelpFile.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace movra {
namespace {

using test::TempDir;
using test::WriteBytes;

// A program folder prefix/bin with the guide in one of the places the help
// command looks at; the first place that holds a file wins.
TEST(HelpDocumentPath, FindsTheGuideBesideTheProgramThenInTheInstallation) {
  struct Case {
    std::vector<std::string> files;  // relative to the prefix
    std::string expected;            // relative to the prefix
  };
  const Case cases[] = {
      {{"bin/movra.chm", "bin/help/index.html"}, "bin/movra.chm"},
      {{"bin/help/index.html", "share/doc/movra/help/index.html"}, "bin/help/index.html"},
      {{"share/doc/movra/help/index.html"}, "share/doc/movra/help/index.html"},
      // Nothing anywhere: the guide beside the program, as builds always had.
      {{}, "bin/help/index.html"},
  };
  for (const Case& c : cases) {
    TempDir prefix;
    for (const std::string& file : c.files) WriteBytes(prefix / file, "guide");
    EXPECT_EQ(HelpDocumentPath(prefix / "bin"), prefix / c.expected) << c.expected;
  }
}

}  // namespace
}  // namespace movra
