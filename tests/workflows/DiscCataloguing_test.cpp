#include <gtest/gtest.h>

#include "workflows/DiscCataloguing.h"
#include "support/TempDir.h"

namespace movra {
namespace {

TEST(DiscCataloguing, TheNameIsJudgedBeforeTheOtherFields) {
  test::TempDir dir;
  test::WriteBytes(dir / "Movra.xml", "<root><CDLIST><T_A><T_B><D_X/></T_B></T_A></CDLIST></root>");
  CatalogueDocument doc;
  ASSERT_TRUE(doc.Open(dir / "Movra.xml"));
  EXPECT_EQ(CheckDiscInput(doc, {"a b", "", "", ""}, ""), DiscInputProblem::kInvalidName);
  EXPECT_EQ(CheckDiscInput(doc, {"X", "d", "A\\", ""}, ""), DiscInputProblem::kIncomplete);
  EXPECT_EQ(CheckDiscInput(doc, {"X", "d", "A\\", ""}, std::nullopt), DiscInputProblem::kNameTaken);
  EXPECT_EQ(CheckDiscInput(doc, {"Y", "d", "A\\", ""}, "E:"), DiscInputProblem::kNone);
}

}  // namespace
}  // namespace movra
