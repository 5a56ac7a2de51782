#include "search/DiscList.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace movra {
namespace {

const std::string kAll = "\xC8\xAB\xB2\xBF";     // 全部
const std::string kFilm = "\xB5\xE7\xD3\xB0";    // 电影
const std::string kAction = "\xB6\xAF\xD7\xF7";  // 动作
const std::string kMusic = "\xD2\xF4\xC0\xD6";   // 音乐

// CDLIST
//   D_TOP
//   T_电影: D_M1, T_动作 (D_DVD_01, D_DVD_02), D_M2, T_空的 (nothing)
//   T_音乐: NOTE (not a category or disc), D_CD_1
class DiscListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(doc_.Open(dir_ / "Movra.xml"));
    Element cdlist = doc_.CdList();
    ASSERT_TRUE(cdlist);
    AddDisc(cdlist, "TOP");
    Element film = doc_.GetOrAddChild(cdlist, "T_" + kFilm);
    AddDisc(film, "M1");
    Element action = doc_.GetOrAddChild(film, "T_" + kAction);
    AddDisc(action, "DVD_01");
    AddDisc(action, "DVD_02");
    AddDisc(film, "M2");
    doc_.GetOrAddChild(film, "T_\xBF\xD5\xB5\xC4");
    Element music = doc_.GetOrAddChild(cdlist, "T_" + kMusic);
    doc_.GetOrAddChild(music, "NOTE");
    AddDisc(music, "CD_1");
  }

  void AddDisc(Element parent, const std::string& name) {
    Element disc = doc_.GetOrAddChild(parent, "D_" + name);
    doc_.SetChildText(disc, "Title", name);
  }

  std::vector<std::string> Texts(const std::string& path, bool is_disc) {
    std::vector<std::string> texts;
    for (const DiscListEntry& entry : BuildDiscList(doc_.ResolvePath(path, is_disc))) texts.push_back(entry.Text());
    return texts;
  }

  test::TempDir dir_;
  CatalogueDocument doc_;
};

TEST_F(DiscListTest, WholeCatalogueBeginsAtTheMainCategories) {
  const std::vector<std::string> expected = {
      "TOP",
      kFilm + "\\M1",
      kFilm + "\\" + kAction + "\\DVD_01",
      kFilm + "\\" + kAction + "\\DVD_02",
      kFilm + "\\M2",
      kMusic + "\\CD_1",
  };
  EXPECT_EQ(Texts(kAll + "\\", false), expected);
}

TEST_F(DiscListTest, CategoryListsItsDiscsDepthFirstInDocumentOrder) {
  const std::vector<std::string> film = {
      kFilm + "\\M1",
      kFilm + "\\" + kAction + "\\DVD_01",
      kFilm + "\\" + kAction + "\\DVD_02",
      kFilm + "\\M2",
  };
  EXPECT_EQ(Texts(kAll + "\\" + kFilm + "\\", false), film);
  EXPECT_EQ(Texts(kAll + "\\" + kFilm + "\\" + kAction + "\\", false),
            (std::vector<std::string>{kAction + "\\DVD_01", kAction + "\\DVD_02"}));
  EXPECT_EQ(Texts(kAll + "\\" + kMusic + "\\", false), std::vector<std::string>{kMusic + "\\CD_1"});
  EXPECT_TRUE(Texts(kAll + "\\" + kFilm + "\\\xBF\xD5\xB5\xC4\\", false).empty());
}

TEST_F(DiscListTest, DiscLocationGivesTheDiscAlone) {
  const std::vector<DiscListEntry> list =
      BuildDiscList(doc_.ResolvePath(kAll + "\\" + kFilm + "\\" + kAction + "\\DVD_02\\", true));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0], (DiscListEntry{"", "DVD_02"}));
}

TEST_F(DiscListTest, EntriesKeepTheCategoryPathApartFromTheDiscName) {
  const std::vector<DiscListEntry> list = BuildDiscList(doc_.ResolvePath(kAll + "\\" + kFilm + "\\", false));
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[1], (DiscListEntry{kFilm + "\\" + kAction + "\\", "DVD_01"}));
  EXPECT_TRUE(BuildDiscList(Element()).empty());
}

}  // namespace
}  // namespace movra
