// Finding the disc element behind a disc node, folder keys and node kinds.
#include <gtest/gtest.h>

#include "browse/ContentNodes.h"
#include "platform/TextCodec.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using test::TempDir;
using test::WriteBytes;

const std::string kMovie = "\xB5\xE7\xD3\xB0";   // 电影
const std::string kAction = "\xB6\xAF\xD7\xF7";  // 动作

// 电影 holds disc X and sub-category 动作 with another disc X and disc Y; A
// holds disc Z; disc W lies directly in CDLIST.
const std::string kCatalogue =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>"
    "<T_" + kMovie + "><D_X><Title>main X</Title></D_X><T_" + kAction +
    "><D_X><Title>sub X</Title></D_X><D_Y><Title>Y</Title></D_Y></T_" + kAction + "></T_" + kMovie +
    "><T_A><D_Z><Title>Z</Title></D_Z></T_A><D_W><Title>W</Title></D_W></CDLIST></root>";

class ContentNodes : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(path_, kCatalogue);
    ASSERT_TRUE(doc_.Open(path_));
  }
  static std::string TitleOf(const DiscElementResult& r) {
    return CatalogueDocument::ElementText(CatalogueDocument::FindChild(r.element, "Title"));
  }
  TempDir dir_;
  std::string path_ = dir_ / "Movra.xml";
  CatalogueDocument doc_;
};

TEST_F(ContentNodes, CategoryTreeLooksTheDiscUpWhereTheNodeStands) {
  // Level 1 and level 2 discs of the same name are told apart by their place.
  DiscElementResult r = FindDiscOfNode(doc_, {false, {kMovie}, "X"});
  ASSERT_EQ(r.outcome, DiscLookup::Found);
  EXPECT_EQ(TitleOf(r), "main X");
  r = FindDiscOfNode(doc_, {false, {kMovie, kAction}, "X"});
  ASSERT_EQ(r.outcome, DiscLookup::Found);
  EXPECT_EQ(TitleOf(r), "sub X");
  // A disc directly in CDLIST is a top-level node of the category tree.
  EXPECT_EQ(TitleOf(FindDiscOfNode(doc_, {false, {}, "W"})), "W");

  // A missing disc element still lets the snapshot load; a missing category does not.
  EXPECT_EQ(FindDiscOfNode(doc_, {false, {"A"}, "Q"}).outcome, DiscLookup::Missing);
  EXPECT_EQ(FindDiscOfNode(doc_, {false, {"Q"}, "Z"}).outcome, DiscLookup::NoCategory);
  EXPECT_EQ(FindDiscOfNode(doc_, {false, {kMovie, "Q"}, "Y"}).outcome, DiscLookup::NoCategory);
  EXPECT_EQ(FindDiscOfNode(doc_, {false, {"A", "B", "C"}, "Z"}).outcome, DiscLookup::NoCategory);
}

TEST_F(ContentNodes, DiscTreeTakesTheFirstDiscOfThatNameAnywhere) {
  DiscElementResult r = FindDiscOfNode(doc_, {true, {}, "X"});
  ASSERT_EQ(r.outcome, DiscLookup::Found);
  EXPECT_EQ(TitleOf(r), "main X");
  EXPECT_EQ(TitleOf(FindDiscOfNode(doc_, {true, {}, "Y"})), "Y");
  EXPECT_EQ(FindDiscOfNode(doc_, {true, {}, "Q"}).outcome, DiscLookup::Missing);
}

TEST_F(ContentNodes, WithoutCdListNothingIsFound) {
  WriteBytes(path_, "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><OTHER/></root>");
  ASSERT_TRUE(doc_.Open(path_));
  EXPECT_EQ(FindDiscOfNode(doc_, {true, {}, "X"}).outcome, DiscLookup::NoCategory);
  EXPECT_EQ(FindDiscOfNode(doc_, {false, {kMovie}, "X"}).outcome, DiscLookup::NoCategory);
}

TEST(ContentNodeTexts, FolderKeysSnapshotFilesAndKinds) {
  EXPECT_EQ(FolderKey("E:\\", {}), "E:\\");
  EXPECT_EQ(FolderKey("E:\\", {"VIDEO", "SUB"}), "E:\\VIDEO\\SUB\\");
  EXPECT_EQ(SnapshotFileOf("/opt/movra/CDROM/", kMovie), "/opt/movra/CDROM/" + GbkToUtf8(kMovie) + ".cdg");
  EXPECT_EQ(NodeKindOfImage(0), ShownNodeKind::Category);
  EXPECT_EQ(NodeKindOfImage(1), ShownNodeKind::Disc);
  EXPECT_EQ(NodeKindOfImage(2), ShownNodeKind::Other);
  EXPECT_EQ(NodeKindOfImage(3), ShownNodeKind::RootFolder);
  EXPECT_EQ(NodeKindOfImage(4), ShownNodeKind::Folder);
  EXPECT_EQ(NodeKindOfImage(-1), ShownNodeKind::Other);
}

}  // namespace
}  // namespace movra
