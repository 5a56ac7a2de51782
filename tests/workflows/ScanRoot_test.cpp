#include "workflows/ScanRoot.h"

#include <gtest/gtest.h>

#include "workflows/DiscEntry.h"

namespace movra {
namespace {

TEST(ScanRootTest, RefusesNamesThatKeysCannotCarryAndNamesTheFirst) {
  // D: is mounted at a folder GBK cannot hold: the mount point is never recorded.
  const DriveMap drives({{'D', "/media/ann/M\xC3\xBAsica_\xC3\xB1", "/dev/sdb1", false}});
  struct Case {
    const char* text;
    std::optional<ScanRootFault> fault;
    const char* part;
  };
  const Case cases[] = {
      {"", std::nullopt, ""},
      {"/media/ann/M\xC3\xBAsica_\xC3\xB1/VIDEO", std::nullopt, ""},
      {"/media/ann/M\xC3\xBAsica_\xC3\xB1//\xE5\x85\x89", std::nullopt, ""},
      {"/home/ann/\xE5\x85\x89\xE7\x9B\x98", std::nullopt, ""},
      {"D:\\VIDEO", std::nullopt, ""},
      {"/home/ann/Ma\xC3\xB1" "ana", ScanRootFault::kNotGbk, "Ma?ana"},
      {"/media/ann/M\xC3\xBAsica_\xC3\xB1/Se\xC3\xB1or", ScanRootFault::kNotGbk, "Se?or"},
      {"/home/a|b/c\\d", ScanRootFault::kBarOrBackslash, "a|b"},
      {"/home/c\\d", ScanRootFault::kBarOrBackslash, "c\\d"},
      {"/home/line\nfeed/x", ScanRootFault::kControl, "line?feed"},
      {"/home/tab\tbed", ScanRootFault::kControl, "tab?bed"},
      {"/home/cr\rx", ScanRootFault::kControl, "cr?x"},
      {"/home/bell\x07", ScanRootFault::kControl, "bell?"},
      {"/home/del\x7F" "x", ScanRootFault::kControl, "del?x"},
      {"Z:\\home\\esc\x1B", ScanRootFault::kControl, "esc?"},
      {"Z:\\home\\a|b", ScanRootFault::kBarOrBackslash, "a|b"},
      {"Z:\\home\\\xF0\x9F\x98\x80", ScanRootFault::kNotGbk, "?"},
  };
  for (const Case& c : cases) {
    const std::optional<ScanRootProblem> problem = CheckScanRoot(drives, c.text);
    ASSERT_EQ(problem.has_value(), c.fault.has_value()) << c.text;
    if (!problem) continue;
    EXPECT_EQ(problem->fault, *c.fault) << c.text;
    EXPECT_EQ(problem->part, c.part) << c.text;
  }
  // The message names the part.
  const std::string message = ScanRootMessage({ScanRootFault::kBarOrBackslash, "a|b"});
  EXPECT_NE(message.find("a|b"), std::string::npos);
}

TEST(ScanRootTest, FoldersProposeTheirNameAndVolumesTheirLabel) {
  const std::string fallback(kDefaultDiscName);
  EXPECT_EQ(ProposedDiscName("E:\\", "STICK"), "STICK");
  EXPECT_EQ(ProposedDiscName("E:\\PHOTOS\\", "STICK"), "STICK");
  EXPECT_EQ(ProposedDiscName("E:\\", ""), fallback);
  EXPECT_EQ(ProposedDiscName("Z:\\home\\ann\\photos", ""), "photos");
  EXPECT_EQ(ProposedDiscName("Z:\\home\\ann\\photos\\", ""), "photos");
  EXPECT_EQ(ProposedDiscName("Z:\\home\\\x95\x5C", ""), "\x95\x5C");  // a trail byte 0x5C is no separator
  EXPECT_EQ(ProposedDiscName("Z:\\", ""), fallback);
  EXPECT_EQ(ProposedDiscName("photos", "LABEL"), "LABEL");  // no drive: as a volume
}

}  // namespace
}  // namespace movra
