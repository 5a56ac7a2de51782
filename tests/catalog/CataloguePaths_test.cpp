// Catalogue paths: resolving, finding discs, removing and renaming.
#include <gtest/gtest.h>

#include "catalog/CatalogueDocument.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

const std::string kDecl = "<?xml version=\"1.0\" encoding=\"gb2312\"?>";
const std::string kAll = "\xC8\xAB\xB2\xBF";       // 全部
const std::string kMovie = "\xB5\xE7\xD3\xB0";     // 电影
const std::string kAction = "\xB6\xAF\xD7\xF7";    // 动作

// Main categories A (sub-category M with disc X, then disc Y), M (sub-category
// B) and 电影 (sub-category 动作 with a second disc X, then disc W); disc Z
// directly under CDLIST.
const std::string kCatalogue = kDecl +
    "<root><CDLIST>"
    "<T_A> <T_M> <D_X><Title>X</Title><Time>1</Time></D_X></T_M><D_Y><Title>Y</Title></D_Y></T_A>"
    "<T_M> <T_B> </T_B></T_M>"
    "<T_" + kMovie + "> <T_" + kAction + "> <D_X><Title>X</Title><Time>2</Time></D_X></T_" + kAction +
    "><D_W><Title>W</Title></D_W></T_" + kMovie + ">"
    "<D_Z><Title>Z</Title></D_Z>"
    "</CDLIST></root>";

class CataloguePaths : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(path_, kCatalogue);
    ASSERT_TRUE(doc_.Open(path_));
  }
  // The names of the element and its ancestors below CDLIST, outermost first.
  static std::string Where(Element e) {
    std::string where;
    for (; e && CatalogueDocument::ElementName(e) != "CDLIST"; e = e.parent())
      where = CatalogueDocument::ElementName(e) + (where.empty() ? "" : "/") + where;
    return e ? "CDLIST/" + where : "none";
  }
  std::string Names(Element parent) {
    std::string names;
    for (Element e : CatalogueDocument::ChildElements(parent)) names += CatalogueDocument::ElementName(e) + ",";
    return names;
  }
  Element Main(std::string_view name) { return CatalogueDocument::FindChild(doc_.CdList(), name); }

  TempDir dir_;
  std::string path_ = dir_ / "Movra.xml";
  CatalogueDocument doc_;
};

TEST_F(CataloguePaths, CategoryPathsWalkDownTheirLastThreeComponents) {
  EXPECT_EQ(Where(doc_.ResolvePath("A\\M\\", false)), "CDLIST/T_A/T_M");
  EXPECT_EQ(Where(doc_.ResolvePath("A\\M", false)), "CDLIST/T_A/T_M");
  EXPECT_EQ(Where(doc_.ResolvePath(" \tA\\M\\\\\r\n", false)), "CDLIST/T_A/T_M");
  // The All pseudo-category stands for CDLIST, alone or as the first component.
  EXPECT_EQ(doc_.ResolvePath(kAll, false), doc_.CdList());
  EXPECT_EQ(doc_.ResolvePath(kAll + "\\", false), doc_.CdList());
  EXPECT_EQ(Where(doc_.ResolvePath(kAll + "\\A\\M\\", false)), "CDLIST/T_A/T_M");
  EXPECT_EQ(Where(doc_.ResolvePath(kAll + "\\" + kMovie + "\\" + kAction + "\\", false)),
            "CDLIST/T_" + kMovie + "/T_" + kAction);
  // Four components: only the last three count.
  EXPECT_EQ(Where(doc_.ResolvePath("W\\A\\M\\X\\", true)), "CDLIST/T_A/T_M/D_X");
  EXPECT_EQ(Where(doc_.ResolvePath(kAll + "\\A\\M\\X\\", true)), "CDLIST/T_A/T_M/D_X");
  // A disc path in a category: the category prefix is T_, the disc's D_.
  EXPECT_EQ(Where(doc_.ResolvePath("A\\Y\\", true)), "CDLIST/T_A/D_Y");
  EXPECT_FALSE(doc_.ResolvePath("A\\Y\\", false));
  EXPECT_FALSE(doc_.ResolvePath("M\\X\\", true));  // T_M under CDLIST holds no X
  EXPECT_FALSE(doc_.ResolvePath("A\\Q\\", false));
  EXPECT_FALSE(doc_.ResolvePath("", false));
  EXPECT_FALSE(doc_.IsModified());
}

TEST_F(CataloguePaths, OneComponentNamesAMainCategoryOrAnyDisc) {
  // M is the main category, although a sub-category M comes first in document order.
  EXPECT_EQ(Where(doc_.ResolvePath("M\\", false)), "CDLIST/T_M");
  EXPECT_EQ(Where(doc_.ResolvePath(kMovie + "\\", false)), "CDLIST/T_" + kMovie);
  EXPECT_FALSE(doc_.ResolvePath(kAction + "\\", false));  // only a sub-category of that name
  // A disc is found at any of the three depths, the first in document order.
  EXPECT_EQ(Where(doc_.ResolvePath("X", true)), "CDLIST/T_A/T_M/D_X");
  EXPECT_EQ(Where(doc_.ResolvePath("Y", true)), "CDLIST/T_A/D_Y");
  EXPECT_EQ(Where(doc_.ResolvePath("Z\\", true)), "CDLIST/D_Z");
  EXPECT_FALSE(doc_.ResolvePath("Q", true));
  EXPECT_FALSE(doc_.ResolvePath("\\\\", false));

  EXPECT_EQ(Where(doc_.FindDiscElement("D_X")), "CDLIST/T_A/T_M/D_X");
  EXPECT_EQ(Where(doc_.FindDiscElement("D_W")), "CDLIST/T_" + kMovie + "/D_W");
  EXPECT_EQ(Where(doc_.FindDiscElement("D_Z")), "CDLIST/D_Z");
  EXPECT_FALSE(doc_.FindDiscElement("Time"));  // only four levels down
}

TEST_F(CataloguePaths, AMissingCdlistIsCreatedAndSavedOnlyByResolvePath) {
  WriteBytes(path_, kDecl + "<catalogue/>");
  ASSERT_TRUE(doc_.Open(path_));
  EXPECT_FALSE(doc_.FindDiscElement("D_X"));
  EXPECT_FALSE(doc_.RemoveByPath("T_A\\"));
  EXPECT_FALSE(doc_.RenameCategory("A\\", "B"));
  EXPECT_EQ(ReadBytes(path_), kDecl + "<catalogue/>");
  EXPECT_FALSE(doc_.ResolvePath("A\\", false));
  EXPECT_EQ(ReadBytes(path_), kDecl + "<catalogue><CDLIST/></catalogue>");
  EXPECT_FALSE(doc_.IsModified());
}

TEST_F(CataloguePaths, RemoveByPathRemovesTheNamedElementOnly) {
  EXPECT_TRUE(doc_.RemoveByPath("A\\M\\D_X\\"));
  EXPECT_EQ(Names(CatalogueDocument::FindChild(Main("T_A"), "T_M")), "");
  EXPECT_EQ(Where(doc_.FindDiscElement("D_X")), "CDLIST/T_" + kMovie + "/T_" + kAction + "/D_X");
  EXPECT_TRUE(doc_.IsModified());
  EXPECT_EQ(ReadBytes(path_), kCatalogue);  // removing does not save

  EXPECT_TRUE(doc_.RemoveByPath("A\\D_Y\\"));
  EXPECT_TRUE(doc_.RemoveByPath("T_" + kMovie + "\\"));
  EXPECT_TRUE(doc_.RemoveByPath("D_Z\\"));
  EXPECT_EQ(Names(doc_.CdList()), "T_A,T_M,");
  EXPECT_FALSE(doc_.FindDiscElement("D_X"));
  // A path without a backslash names a main category.
  EXPECT_TRUE(doc_.RemoveByPath("M"));
  EXPECT_EQ(Names(doc_.CdList()), "T_A,");
}

TEST_F(CataloguePaths, RemoveByPathRefusesPathsThatNameNothing) {
  const std::string before = doc_.Serialize();
  // Text after the last backslash is ignored, and the walk stops at the
  // first empty component; no path may take CDLIST itself away.
  for (std::string path : {"", "\\", "\\\\", "\\T_A\\", "A\\M\\D_Q\\", "T_Q\\", "A\\\\D_Y\\"}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(doc_.RemoveByPath(path));
  }
  EXPECT_TRUE(doc_.CdList());
  EXPECT_EQ(doc_.Serialize(), before);
  EXPECT_FALSE(doc_.IsModified());
}

TEST_F(CataloguePaths, RenameKeepsThePositionAndTheContents) {
  EXPECT_TRUE(doc_.RenameCategory("A\\M\\", "C"));
  EXPECT_EQ(Names(Main("T_A")), "T_C,D_Y,");
  EXPECT_EQ(Names(CatalogueDocument::FindChild(Main("T_A"), "T_C")), "D_X,");

  // A main category with sub-categories and discs, renamed to a Chinese name.
  EXPECT_TRUE(doc_.RenameCategory("A\\", kAction));
  EXPECT_EQ(Names(doc_.CdList()), "T_" + kAction + ",T_M,T_" + kMovie + ",D_Z,");
  EXPECT_EQ(Names(Main("T_" + kAction)), "T_C,D_Y,");
  ASSERT_EQ(doc_.Save(), SaveResult::kSaved);

  CatalogueDocument again;
  ASSERT_TRUE(again.Open(path_));
  EXPECT_EQ(Where(again.ResolvePath(kAction + "\\C\\X\\", true)), "CDLIST/T_" + kAction + "/T_C/D_X");
  EXPECT_EQ(again.Serialize(), doc_.Serialize());
}

TEST_F(CataloguePaths, RenameToASiblingsNameMergesAtTheOldPosition) {
  // M (second) takes the name of 电影 (third): 电影 keeps its own children
  // first, receives M's after them, and moves to M's place.
  EXPECT_TRUE(doc_.RenameCategory("M\\", kMovie));
  EXPECT_EQ(Names(doc_.CdList()), "T_A,T_" + kMovie + ",D_Z,");
  EXPECT_EQ(Names(Main("T_" + kMovie)), "T_" + kAction + ",D_W,T_B,");
  // Sub-categories merge the same way: 动作 moves to B's place.
  EXPECT_TRUE(doc_.RenameCategory(kMovie + "\\B\\", kAction));
  EXPECT_EQ(Names(Main("T_" + kMovie)), "D_W,T_" + kAction + ",");
}

TEST_F(CataloguePaths, RenameOfAPathThatNamesNothingChangesNothing) {
  const std::string before = doc_.Serialize();
  EXPECT_FALSE(doc_.RenameCategory("A\\Q\\", "C"));
  EXPECT_FALSE(doc_.RenameCategory("Q\\M\\", "C"));
  EXPECT_FALSE(doc_.RenameCategory("", "C"));
  EXPECT_FALSE(doc_.RenameCategory("A\\", ""));
  EXPECT_FALSE(doc_.RenameCategory("A\\", "A"));  // its own name
  EXPECT_FALSE(doc_.RenameCategory("A\\Y\\", "C"));  // a disc is not a category
  EXPECT_EQ(doc_.Serialize(), before);
  EXPECT_FALSE(doc_.IsModified());
}

}  // namespace
}  // namespace movra
