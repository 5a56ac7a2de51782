// 查找重复文件: the groups in the results panel, each copy below its disc's
// header, and going to a copy as to any result.
#include <gtest/gtest.h>

#include "support/BrowseSupport.h"

namespace movra {
namespace {

const char* const kCatalogue =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>"
    "<T_电影><D_DVD1><Title>DVD1</Title></D_DVD1><D_DVD2><Title>DVD2</Title></D_DVD2></T_电影>"
    "<T_音乐><D_CD3><Title>CD3</Title></D_CD3></T_音乐></CDLIST></root>";

class DuplicatesWindowTest : public test::BrowseFixture {
 protected:
  TForm1& Start() {
    WriteCatalogue(test::Gbk(kCatalogue));
    test::WriteTestSnapshot(ProgramFolder(), "DVD1", {{"E:\\", "A", -1}, {"E:\\A\\", "movie.vob", 5120}, {"E:\\", "x", 1}});
    test::WriteTestSnapshot(ProgramFolder(), "DVD2", {{"F:\\", "MOVIE.VOB", 5120}, {"F:\\", "x", 2}});
    test::WriteTestSnapshot(ProgramFolder(), "CD3", {{"G:\\", "movie.vob", 5120}});
    return StartForm();
  }
  // Name and folder of every row, as UTF-8.
  static std::vector<std::string> Rows(const TForm1& form) {
    std::vector<std::string> rows;
    const SearchResults& results = form.ListView2->Rows();
    for (std::size_t i = 0; i < results.size(); ++i)
      rows.push_back(GbkToUtf8(std::string(SearchResults::Name(results[i])) + "|" +
                               std::string(SearchResults::Folder(results[i]))));
    return rows;
  }
};

TEST_F(DuplicatesWindowTest, TheGroupsOfACategoryAndOfEverythingShowWithTheirCopiesUnderTheirDiscs) {
  TForm1& form = Start();
  form.CurrentCategoryNode() = test::NodeAt(*form.TreeView1, {"电影"});
  form.D3Click();
  ASSERT_TRUE(form.ResultsPanelShown());
  EXPECT_EQ(Rows(form), (std::vector<std::string>{"movie.vob（2 份，多占 5 KB）|", "[ 电影\\DVD1 ]|", "movie.vob|E:\\A\\",
                                                  "[ 电影\\DVD2 ]|", "MOVIE.VOB|F:\\"}));
  EXPECT_EQ(test::Panel(form, 2), "找到 1 组重复文件，多占 5 KB");

  // From the Edit menu: the whole catalogue.
  form.D2Click();
  EXPECT_EQ(Rows(form).size(), 7u);
  EXPECT_EQ(Rows(form)[0], "movie.vob（3 份，多占 10 KB）|");

  // Going to a copy opens its disc's folder; the group row goes nowhere.
  form.JumpToResult(0);
  form.JumpToResult(6);
  EXPECT_EQ(form.TreeView1->GetSelection(), test::NodeAt(*form.TreeView1, {"音乐", "CD3", "G:"}));
  EXPECT_TRUE(MessagesShown().empty());
}

}  // namespace
}  // namespace movra
