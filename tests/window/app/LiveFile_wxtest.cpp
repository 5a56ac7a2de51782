// 打开 and 打开所在文件夹 of the content list: the real file of the disc in
// the drive opens with the desktop's program; a missing disc is named.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/RecordingOpener.h"
#include "support/BrowseSupport.h"
#include "support/TempDir.h"

namespace movra {
namespace {

class LiveFileWindowTest : public test::BrowseFixture {
 protected:
  void SetUp() override {
    BrowseFixture::SetUp();
    opener_.documents_open = true;
  }
  test::RecordingOpener opener_;
  test::TempDir medium_;
};

TEST_F(LiveFileWindowTest, TheSelectedRowOpensFromTheMountedDiscAndAnAbsentDiscIsNamed) {
  test::WriteBytes(medium_ / "A/f1", "1");
  Drives() = DriveMap({{'E', medium_.path(), "", true}});
  WriteCatalogue(test::Gbk("<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST><T_电影><D_DVD1><Title>DVD1"
                           "</Title><Memo>光盘卷标：DVD1nbsp</Memo></D_DVD1></T_电影></CDLIST></root>"));
  test::WriteTestSnapshot(ProgramFolder(), "DVD1", {{"E:\\", "A", -1}, {"E:\\A\\", "f1", 1}});
  TForm1& form = StartForm();
  Select(*form.TreeView1, test::NodeAt(*form.TreeView1, {"电影", "DVD1"}));
  Select(*form.TreeView1, test::NodeAt(*form.TreeView1, {"电影", "DVD1", "E:", "A"}));
  ASSERT_EQ(test::ListCaptions(form), "f1");
  form.ListView1->Model().SetSelected(0, true);
  form.O1Click();
  form.O2Click();
  EXPECT_EQ(opener_.documents, (std::vector<std::string>{medium_ / "A/f1", medium_ / "A"}));
  EXPECT_TRUE(MessagesShown().empty());

  std::filesystem::remove_all(medium_ / "A");  // another disc in the drive
  form.O1Click();
  ASSERT_EQ(MessagesShown().size(), 1u);
  EXPECT_EQ(GbkToUtf8(MessagesShown()[0]), "请插入光盘“DVD1”后再试。");
  EXPECT_EQ(opener_.documents.size(), 2u);
}

}  // namespace
}  // namespace movra
