#include "window/controls/CategoryTrees.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <string>
#include <vector>

#include "platform/TextCodec.h"
#include "support/TempDir.h"

namespace movra {
namespace {

std::string G(const char* utf8) { return Utf8ToGbk(utf8); }

// Main categories with sub-categories and discs at every depth: a disc
// without Title inside a sub-category, a disc directly in a main category,
// a disc and an element of another prefix directly in CDLIST.
const char* const kCatalogue =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>"
    "<T_电影> <T_动作> <D_DVD_01><Title>DVD_01</Title><Time>2006/3/3</Time><Memo>anbsp</Memo></D_DVD_01>"
    "<D_无题><Time>2006/3/3</Time></D_无题></T_动作>"
    "<T_Comedy> <D_喜剧盘><Title>喜剧盘</Title></D_喜剧盘></T_Comedy>"
    "<D_电影合集><Title>电影合集</Title></D_电影合集></T_电影>"
    "<T_音乐> <T_古典> </T_古典></T_音乐><T_apps> </T_apps><T_Backup> </T_Backup>"
    "<D_Loose><Title>Loose</Title><Memo>m</Memo></D_Loose><X_Other/>"
    "</CDLIST></root>";

// One node as "text/image" with its children in brackets, in tree order.
std::string Dump(const wxTreeCtrl& tree, const wxTreeItemId& parent) {
  std::string out;
  wxTreeItemIdValue cookie;
  for (wxTreeItemId item = tree.GetFirstChild(parent, cookie); item.IsOk(); item = tree.GetNextChild(parent, cookie)) {
    if (!out.empty()) out += ' ';
    out += GbkToUtf8(NodeText(tree, item)) + "/" + std::to_string(tree.GetItemImage(item));
    EXPECT_EQ(tree.GetItemImage(item), tree.GetItemImage(item, wxTreeItemIcon_Selected));
    if (tree.ItemHasChildren(item)) out += "[" + Dump(tree, item) + "]";
  }
  return out;
}

class CategoryTreesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = new wxFrame(nullptr, wxID_ANY, "trees");
    tree_ = new CategoryTreeCtrl(frame_, wxID_ANY);
    frame_->Show();
  }
  void TearDown() override { delete frame_; }

  void Open(const char* utf8_xml) {
    test::WriteBytes(dir_ / "Movra.xml", G(utf8_xml));
    ASSERT_TRUE(doc_.Open(dir_ / "Movra.xml"));
  }
  wxTreeItemId Find(std::string_view path) { return FindNodeByPath(*tree_, path); }

  test::TempDir dir_;
  CatalogueDocument doc_;
  wxFrame* frame_ = nullptr;
  CategoryTreeCtrl* tree_ = nullptr;
};

TEST_F(CategoryTreesTest, CategoryModeShowsCategoriesAndDiscsInLocaleOrder) {
  Open(kCatalogue);
  EXPECT_TRUE(FillCategoryTree(*tree_, doc_, FillMode::kCategories));
  // Latin before Chinese, letters without regard to case; discs of a
  // sub-category by Title (the one without Title is missing), discs directly
  // in a main category by element name; the fields of a disc are no nodes.
  EXPECT_EQ(Dump(*tree_, tree_->GetRootItem()),
            "apps/0 Backup/0 Loose/1 Other/1 "
            "电影/0[Comedy/0[喜剧盘/1] 电影合集/1 动作/0[DVD_01/1]] 音乐/0[古典/0]");
}

TEST_F(CategoryTreesTest, DialogModeShowsCategoriesOnlyAndFillsBelowAGivenParent) {
  Open(kCatalogue);
  const wxTreeItemId all = AddNode(*tree_, wxTreeItemId(), G("全部"), kCategoryImage);
  EXPECT_TRUE(FillCategoryTree(*tree_, doc_, FillMode::kDialog, all));
  EXPECT_EQ(Dump(*tree_, tree_->GetRootItem()), "全部/0[apps/0 Backup/0 电影/0[Comedy/0 动作/0] 音乐/0[古典/0]]");
  wxTreeItemIdValue cookie;
  const wxTreeItemId film = FindSiblingByText(*tree_, tree_->GetFirstChild(all, cookie), G("电影"));
  const wxTreeItemId action = tree_->GetLastChild(film);
  EXPECT_EQ(NodePath(*tree_, action), G("全部\\电影\\动作\\"));
}

TEST_F(CategoryTreesTest, DiscTreeListsEveryDiscOnceAtTheTop) {
  Open(kCatalogue);
  EXPECT_TRUE(FillDiscTree(*tree_, doc_));
  EXPECT_EQ(Dump(*tree_, tree_->GetRootItem()), "DVD_01/1 Loose/1 电影合集/1 无题/1 喜剧盘/1");
}

TEST_F(CategoryTreesTest, NoCdListOrAnEmptyOneFillsNothing) {
  Open("<?xml version=\"1.0\"?><root/>");
  EXPECT_FALSE(FillCategoryTree(*tree_, doc_, FillMode::kCategories));
  EXPECT_FALSE(FillDiscTree(*tree_, doc_));
  Open("<?xml version=\"1.0\"?><root><CDLIST/></root>");
  EXPECT_FALSE(FillCategoryTree(*tree_, doc_, FillMode::kCategories));
  EXPECT_FALSE(FillDiscTree(*tree_, doc_));
  EXPECT_FALSE(FirstTopNode(*tree_).IsOk());
  CatalogueDocument unopened;
  EXPECT_FALSE(FillCategoryTree(*tree_, unopened, FillMode::kCategories));
  EXPECT_FALSE(FindNodeByPath(*tree_, "A\\").IsOk());
}

TEST_F(CategoryTreesTest, ElementNodesTakeTextAndImageFromTheName) {
  const wxTreeItemId a = AddElementNode(*tree_, wxTreeItemId(), G("T_甲"));
  const wxTreeItemId x = AddElementNode(*tree_, a, "D_X");
  const wxTreeItemId odd = AddElementNode(*tree_, a, "t_lower");
  EXPECT_EQ(NodeText(*tree_, a), G("甲"));
  EXPECT_EQ(tree_->GetItemImage(a), kCategoryImage);
  EXPECT_EQ(tree_->GetItemImage(x), kDiscImage);
  EXPECT_EQ(tree_->GetItemImage(odd), kDiscImage);  // the prefix must be exactly T_
  EXPECT_EQ(NodeText(*tree_, odd), "lower");
}

TEST_F(CategoryTreesTest, NodePathJoinsAncestorsWithBackslashes) {
  const wxTreeItemId a = AddNode(*tree_, wxTreeItemId(), "A", 0);
  const wxTreeItemId b = AddNode(*tree_, a, "B", 0);
  const wxTreeItemId x = AddNode(*tree_, b, "X", 1);
  EXPECT_EQ(NodePath(*tree_, a), "A\\");
  EXPECT_EQ(NodePath(*tree_, b), "A\\B\\");
  EXPECT_EQ(NodePath(*tree_, x), "A\\B\\X\\");
  EXPECT_EQ(NodePath(*tree_, b, "T_B"), "A\\T_B\\");
  EXPECT_EQ(NodePath(*tree_, b, ""), "");
  EXPECT_EQ(NodePath(*tree_, wxTreeItemId(), "B"), "");
  // A text that already ends with a backslash gets none more.
  const wxTreeItemId drive = AddNode(*tree_, x, "E:\\", 3);
  EXPECT_EQ(NodePath(*tree_, AddNode(*tree_, drive, "V", 4)), "A\\B\\X\\E:\\V\\");
  EXPECT_EQ(NodePath(*tree_, drive), "A\\B\\X\\E:\\");
}

TEST_F(CategoryTreesTest, NodePathTellsATrailByte5CFromABackslash) {
  // 乗 is 0x81 0x5C in GBK: its second byte is no backslash.
  const std::string jo = "\x81\x5C";
  const wxTreeItemId a = AddNode(*tree_, wxTreeItemId(), jo, 0);
  const wxTreeItemId b = AddNode(*tree_, a, jo, 0);
  EXPECT_EQ(NodePath(*tree_, b), jo + "\\" + jo + "\\");
  EXPECT_EQ(FindNodeByPath(*tree_, jo + "\\" + jo + "\\"), b);
}

TEST_F(CategoryTreesTest, FindNodeByPathUsesTheFirstTwoComponents) {
  Open(kCatalogue);
  FillCategoryTree(*tree_, doc_, FillMode::kCategories);
  const wxTreeItemId film = Find(G("电影\\"));
  ASSERT_TRUE(film.IsOk());
  EXPECT_EQ(NodeText(*tree_, film), G("电影"));
  EXPECT_EQ(Find(G("电影")), film);
  const wxTreeItemId action = Find(G("电影\\动作\\"));
  ASSERT_TRUE(action.IsOk());
  EXPECT_EQ(tree_->GetItemParent(action), film);
  EXPECT_EQ(Find(G("电影\\动作")), action);
  EXPECT_EQ(Find(G("电影\\动作\\DVD_01\\")), action);
  EXPECT_FALSE(Find("Q\\").IsOk());
  EXPECT_FALSE(Find(G("电影\\Q\\")).IsOk());
  EXPECT_FALSE(Find("APPS\\").IsOk());  // texts compare byte for byte
  EXPECT_FALSE(Find("").IsOk());
  EXPECT_FALSE(Find("\\").IsOk());
  EXPECT_FALSE(Find("Backup\\x\\").IsOk());  // a node without children
}

TEST_F(CategoryTreesTest, FindNodeByPathWorksWhenTheFirstNodeIsScrolledAway) {
  for (int i = 0; i < 300; ++i) AddNode(*tree_, wxTreeItemId(), "n" + std::to_string(1000 + i), 0);
  const wxTreeItemId last = tree_->GetLastChild(tree_->GetRootItem());
  tree_->ScrollTo(last);
  ASSERT_FALSE(tree_->IsVisible(FirstTopNode(*tree_)));
  EXPECT_EQ(Find("n1299\\"), last);
  EXPECT_EQ(Find("n1000\\"), FirstTopNode(*tree_));
}

TEST_F(CategoryTreesTest, FindSiblingByTextLooksOnlyForward) {
  const wxTreeItemId a = AddNode(*tree_, wxTreeItemId(), "a", 0);
  const wxTreeItemId b = AddNode(*tree_, wxTreeItemId(), "b", 0);
  const wxTreeItemId b2 = AddNode(*tree_, wxTreeItemId(), "b", 0);
  EXPECT_EQ(FindSiblingByText(*tree_, a, "b"), b);
  EXPECT_EQ(FindSiblingByText(*tree_, b2, "b"), b2);
  EXPECT_FALSE(FindSiblingByText(*tree_, b, "a").IsOk());
  EXPECT_FALSE(FindSiblingByText(*tree_, a, "").IsOk());
  EXPECT_FALSE(FindSiblingByText(*tree_, wxTreeItemId(), "a").IsOk());
}

TEST_F(CategoryTreesTest, RemoveDiscNodeByTextRemovesOnlyTheFirstMatch) {
  AddNode(*tree_, wxTreeItemId(), "X", 1);
  AddNode(*tree_, wxTreeItemId(), G("光盘"), 1);
  const wxTreeItemId x2 = AddNode(*tree_, wxTreeItemId(), G("光盘"), 1);
  RemoveDiscNodeByText(*tree_, G("光盘"));
  EXPECT_EQ(tree_->GetChildrenCount(tree_->GetRootItem(), false), 2u);
  EXPECT_EQ(tree_->GetLastChild(tree_->GetRootItem()), x2);
  RemoveDiscNodeByText(*tree_, "none");
  EXPECT_EQ(tree_->GetChildrenCount(tree_->GetRootItem(), false), 2u);
}

TEST_F(CategoryTreesTest, NodeTextFollowsALabelChangedInPlace) {
  const wxTreeItemId a = AddNode(*tree_, wxTreeItemId(), G("旧名"), 0);
  tree_->SetItemText(a, wxString::FromUTF8("新名"));  // as in-place editing does
  EXPECT_EQ(NodeText(*tree_, a), G("新名"));
  SetNodeText(*tree_, a, G("再改"));
  EXPECT_EQ(NodeText(*tree_, a), G("再改"));
  EXPECT_EQ(tree_->GetItemText(a), wxString::FromUTF8("再改"));
}

TEST_F(CategoryTreesTest, SortingIsCaseInsensitiveFirstAndLatinBeforeChinese) {
  for (const char* text : {"中文", "b", "B", "a", "Zeta", "阿"}) AddNode(*tree_, wxTreeItemId(), G(text), 0);
  SortRecursively(*tree_, tree_->GetRootItem());
  EXPECT_EQ(Dump(*tree_, tree_->GetRootItem()), "a/0 b/0 B/0 Zeta/0 阿/0 中文/0");
}

}  // namespace
}  // namespace movra
