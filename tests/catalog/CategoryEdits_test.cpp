#include <gtest/gtest.h>

#include "catalog/CategoryEdits.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using Kind = RenameDecision::Kind;

TEST(CategoryEdits, RenameTrimsAndRefusesWhatTheNameRulesDrop) {
  struct Case {
    const char* entered;
    Kind kind;
    const char* name;
  };
  const Case cases[] = {
      {"Music", Kind::kKeep, ""},           {" \tMusic\r\n", Kind::kKeep, ""},  {"   ", Kind::kKeep, ""},
      {"", Kind::kKeep, ""},                {" Audio ", Kind::kRename, "Audio"}, {"\x01X-1.b_c", Kind::kRename, "X-1.b_c"},
      {"Pop Music", Kind::kInvalid, ""},    {"\xA3\xCD" "usic", Kind::kInvalid, ""},  // full-width Ｍ
      {"a\\b", Kind::kInvalid, ""},         {"\xD2\xF4\xC0\xD6", Kind::kRename, "\xD2\xF4\xC0\xD6"},  // 音乐
  };
  for (const Case& c : cases) {
    const RenameDecision decision = DecideRename("Music", c.entered);
    EXPECT_EQ(decision.kind, c.kind) << c.entered;
    EXPECT_EQ(decision.name, c.name) << c.entered;
  }
}

TEST(CategoryEdits, NewCategoriesAndTheDiscsOfACategory) {
  test::TempDir dir;
  test::WriteBytes(dir / "Movra.xml",
                   "<root><CDLIST><T_A><D_X/><T_S><D_Y/><T_Deep><D_Z/></T_Deep></T_S><Other/><D_W/></T_A>"
                   "</CDLIST></root>");
  CatalogueDocument doc;
  ASSERT_TRUE(doc.Open(dir / "Movra.xml"));
  const Element a = FindElementByNames(doc, {"T_A"});
  // Discs one and two levels down, in document order; nothing deeper, nothing but D_.
  EXPECT_EQ(DiscNamesIn(a), (std::vector<std::string>{"X", "Y", "W"}));
  EXPECT_FALSE(FindElementByNames(doc, {"T_A", "T_Nope"}));
  EXPECT_FALSE(FindElementByNames(doc, {}));

  EXPECT_EQ(AddSubCategory(doc, a), "\xD0\xC2\xB5\xC4\xD7\xD3\xC0\xE0" "0");  // 新的子类0
  EXPECT_EQ(AddMainCategory(doc), "\xD0\xC2\xB5\xC4\xD6\xF7\xC0\xE0" "0");   // 新的主类0
  EXPECT_EQ(AddMainCategory(doc), "\xD0\xC2\xB5\xC4\xD6\xF7\xC0\xE0" "1");
  EXPECT_EQ(CatalogueDocument::ElementText(CatalogueDocument::ChildElements(doc.CdList()).back()), " ");
  EXPECT_EQ(AddSubCategory(doc, Element()), std::nullopt);

  CatalogueDocument none;  // no document at all
  EXPECT_EQ(AddMainCategory(none), std::nullopt);

  // A catalogue with nothing but its document element gets CDLIST with the first category.
  test::WriteBytes(dir / "Bare.xml", "<root/>");
  CatalogueDocument bare;
  ASSERT_TRUE(bare.Open(dir / "Bare.xml"));
  EXPECT_EQ(AddMainCategory(bare), "\xD0\xC2\xB5\xC4\xD6\xF7\xC0\xE0" "0");
  EXPECT_EQ(DiscNamesIn(bare.CdList()), std::vector<std::string>{});
  EXPECT_TRUE(FindElementByNames(bare, {"T_\xD0\xC2\xB5\xC4\xD6\xF7\xC0\xE0" "0"}));
}

}  // namespace
}  // namespace movra
