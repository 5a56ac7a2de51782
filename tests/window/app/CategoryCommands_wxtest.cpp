#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <wx/textctrl.h>

#include "catalog/CategoryEdits.h"
#include "window/controls/WxText.h"
#include "support/EditingSupport.h"
#include "support/MainWindowFixture.h"

namespace movra {
namespace {

using test::TextsBelow;
using test::Gbk;

class CategoryCommandsTest : public test::MainWindowFixture {
 protected:
  TForm1& Start(const std::string& utf8_xml = test::kEditingCatalogue) {
    WriteCatalogue(utf8_xml);
    for (const std::string& disc : test::kEditingDiscs) test::WriteBytes(SnapshotFile(disc), test::SnapshotBytesOf(disc));
    return StartForm();
  }
  std::string SnapshotFile(const std::string& disc) const { return ProgramFolder() + "/CDROM/" + disc + ".cdg"; }

  // The category-tree node reached through the texts (UTF-8) from the top.
  wxTreeItemId Node(const std::vector<std::string>& utf8_texts) {
    return test::NodeByTexts(*Form().TreeView1, utf8_texts);
  }
  // Makes node the selected and current node of the category tree, as a right click does.
  void Point(const wxTreeItemId& node) {
    ASSERT_TRUE(node.IsOk());
    Form().TreeView1->SelectItem(node);
    Flush();
    Form().CurrentCategoryNode() = node;
  }
  // Types text (UTF-8) into the label being edited and ends the edit.
  void FinishEdit(const char* utf8) {
    wxTextCtrl* edit = Form().TreeView1->GetEditControl();
    ASSERT_NE(edit, nullptr) << "no label edit in progress";
    edit->SetValue(wxString::FromUTF8(utf8));
    Form().TreeView1->EndEditLabel(wxTreeItemId(), false);
    Flush();
  }
  // The catalogue as written to disk.
  std::unique_ptr<CatalogueDocument> Saved() {
    auto doc = std::make_unique<CatalogueDocument>();
    doc->Open(CataloguePath());
    return doc;
  }
  bool SavedHas(const std::vector<std::string>& utf8_names) {
    std::vector<std::string> names;
    for (const std::string& name : utf8_names) names.push_back(Gbk(name.c_str()));
    return static_cast<bool>(FindElementByNames(*Saved(), names));
  }
  void Send(wxEventType type, int id) {
    wxCommandEvent event(type, id);
    Form().ProcessWindowEvent(event);
    Flush();
  }
};

TEST_F(CategoryCommandsTest, NewMainCategoryTakesTheFirstFreeNumberAndIsNamedInPlace) {
  TForm1& form = Start("<root><CDLIST><T_新的主类0> </T_新的主类0><T_新的主类2> </T_新的主类2></CDLIST></root>");
  form.G1Click();
  EXPECT_TRUE(SavedHas({"T_新的主类1"}));
  EXPECT_EQ(CatalogueDocument::ElementText(FindElementByNames(*Saved(), {Gbk("T_新的主类1")})), " ");
  ASSERT_EQ(TextsBelow(*form.TreeView1).size(), 3u);
  EXPECT_EQ(TextsBelow(*form.TreeView1).back(), Gbk("新的主类1"));

  FinishEdit("Docs");
  EXPECT_FALSE(SavedHas({"T_新的主类1"}));
  EXPECT_TRUE(SavedHas({"T_Docs"}));
  EXPECT_EQ(TextsBelow(*form.TreeView1), (std::vector<std::string>{"Docs", Gbk("新的主类0"), Gbk("新的主类2")}));
  EXPECT_TRUE(MessagesShown().empty());
}

TEST_F(CategoryCommandsTest, NewSubCategoryOnlyBelowAMainCategory) {
  TForm1& form = Start();
  Point(Node({"影视"}));
  form.N9Click();
  EXPECT_TRUE(SavedHas({"T_影视", "T_新的子类0"}));
  EXPECT_EQ(TextsBelow(*form.TreeView1, Node({"影视"})).back(), Gbk("新的子类0"));
  EXPECT_EQ(form.TreeView1->GetEditControl(), nullptr);

  const std::string before = test::ReadBytes(CataloguePath());
  Point(Node({"影视", "电影"}));
  form.N9Click();
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{Gbk("请在主类别下添加子类别！")}));
  Point(Node({"影视", "Loose"}));
  form.N9Click();
  EXPECT_EQ(MessagesShown().size(), 1u);
  EXPECT_EQ(test::ReadBytes(CataloguePath()), before);
}

TEST_F(CategoryCommandsTest, NewSubCategoryGoesIntoTheSelectedMainCategoryEvenWhenASubCategoryHasItsName) {
  TForm1& form = Start("<root><CDLIST><T_A><T_M> </T_M></T_A><T_M> </T_M></CDLIST></root>");
  Point(Node({"M"}));
  form.N9Click();
  EXPECT_TRUE(SavedHas({"T_M", "T_新的子类0"}));
  EXPECT_FALSE(SavedHas({"T_A", "T_M", "T_新的子类0"}));
}

TEST_F(CategoryCommandsTest, RenameRefusesInvalidNamesTrimsBlanksAndKeepsThePosition) {
  TForm1& form = Start();
  const std::string before = test::ReadBytes(CataloguePath());
  Point(Node({"Music"}));
  for (const char* same : {"Music", "  Music \t"}) {
    form.M1Click();
    FinishEdit(same);
    EXPECT_EQ(NodeText(*form.TreeView1, Node({"Music"})), "Music");
  }
  for (const char* invalid : {"Pop Music", "Ｍusic", "   "}) {
    form.M1Click();
    FinishEdit(invalid);
    EXPECT_TRUE(Node({"Music"}).IsOk()) << invalid;
  }
  const std::string refusal = Gbk("节点名称不符合命名规则\n请参考使用帮助中“光盘分类命名规则”！");
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{refusal, refusal}));
  EXPECT_EQ(test::ReadBytes(CataloguePath()), before);

  form.M1Click();
  FinishEdit("  Audio ");
  const std::vector<Element> mains = CatalogueDocument::ChildElements(Saved()->CdList());
  ASSERT_EQ(mains.size(), 3u);
  EXPECT_EQ(CatalogueDocument::ElementName(mains[1]), "T_Audio");
  EXPECT_TRUE(SavedHas({"T_Audio", "T_Jazz"}));
  EXPECT_EQ(TextsBelow(*form.TreeView1), (std::vector<std::string>{"Audio", "Work", Gbk("影视")}));

  // A category the catalogue no longer holds keeps its label.
  form.Catalogue().DeleteChild(form.Catalogue().CdList(), "T_Work");
  Point(Node({"Work"}));
  form.M1Click();
  FinishEdit("Job");
  EXPECT_EQ(MessagesShown().back(), Gbk("无法在目录中找到选择的节点！"));
  EXPECT_TRUE(Node({"Work"}).IsOk());

  // A disc's name cannot be edited here.
  Point(Node({"影视", "Loose"}));
  form.M1Click();
  EXPECT_EQ(form.TreeView1->GetEditControl(), nullptr);
}

TEST_F(CategoryCommandsTest, RenamingToASiblingsNameMergesBothInTheCatalogueAndInTheTree) {
  TForm1& form = Start();
  // Asked first: No keeps the old name, in the tree and in the catalogue.
  Point(Node({"影视", "剧集"}));
  form.M1Click();
  FinishEdit("电影");
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{Gbk("已存在同名分类，是否合并？")}));
  EXPECT_TRUE(Node({"影视", "剧集"}).IsOk());
  EXPECT_TRUE(SavedHas({"T_影视", "T_剧集", "D_Sun"}));

  Point(Node({"影视", "剧集"}));
  form.M1Click();
  AnswerNextBoxWith(wxID_YES);
  FinishEdit("电影");
  const Element merged = FindElementByNames(*Saved(), {Gbk("T_影视"), Gbk("T_电影")});
  EXPECT_EQ(DiscNamesIn(merged), (std::vector<std::string>{"Star", "Moon", "Sun", "Sky"}));
  EXPECT_EQ(TextsBelow(*form.TreeView1, Node({"影视"})), (std::vector<std::string>{"Loose", Gbk("电影")}));
  EXPECT_EQ(TextsBelow(*form.TreeView1, Node({"影视", "电影"})),
            (std::vector<std::string>{"Moon", "Sky", "Star", "Sun"}));

  // A new main category named like the current one merges into a single current node.
  Point(Node({"Work"}));
  form.G1Click();
  AnswerNextBoxWith(wxID_YES);
  FinishEdit("Work");
  EXPECT_EQ(TextsBelow(*form.TreeView1), (std::vector<std::string>{"Music", "Work", Gbk("影视")}));
  EXPECT_EQ(form.CurrentCategoryNode(), Node({"Work"}));

  // The merged node stands for all four discs: deleting it deletes all their files.
  Point(Node({"影视", "电影"}));
  AnswerNextBoxWith(wxID_YES);
  form.N19Click();
  for (const char* disc : {"Star", "Moon", "Sun", "Sky"}) EXPECT_FALSE(test::PathExists(SnapshotFile(disc))) << disc;
}

TEST_F(CategoryCommandsTest, DeletingADiscAsksFirstThenRemovesItsFileAndBothNodes) {
  TForm1& form = Start();
  Point(Node({"影视", "Loose"}));
  AnswerNextBoxWith(wxID_NO);
  form.N19Click();
  EXPECT_TRUE(test::PathExists(SnapshotFile("Loose")));
  EXPECT_TRUE(SavedHas({"T_影视", "D_Loose"}));

  AnswerNextBoxWith(wxID_YES);
  form.N19Click();
  // The question says that the snapshot file goes too.
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>(2, Gbk("确实要删除选择的光盘？\n它的快照文件将一起删除。"))));
  EXPECT_FALSE(test::PathExists(SnapshotFile("Loose")));
  EXPECT_FALSE(SavedHas({"T_影视", "D_Loose"}));
  EXPECT_FALSE(Node({"影视", "Loose"}).IsOk());
  EXPECT_EQ(TextsBelow(*form.TreeView2), (std::vector<std::string>{"Moon", "Sky", "Star", "Sun"}));
  EXPECT_FALSE(form.CurrentCategoryNode().IsOk());

  // With no current node nothing happens.
  form.N19Click();
  EXPECT_EQ(MessagesShown().size(), 2u);
}

TEST_F(CategoryCommandsTest, DeletingAMainCategoryRemovesEveryDiscBelowIt) {
  TForm1& form = Start();
  std::remove(SnapshotFile("Sky").c_str());  // a disc without its file is counted, its file is not
  Point(Node({"影视"}));
  AnswerNextBoxWith(wxID_YES);
  form.N19Click();
  EXPECT_EQ(MessagesShown(),
            (std::vector<std::string>{Gbk("确实要删除选择的分类？\n其中的 5 张光盘和 4 个快照文件将一起删除。")}));
  for (const std::string& disc : test::kEditingDiscs) EXPECT_FALSE(test::PathExists(SnapshotFile(disc))) << disc;
  EXPECT_TRUE(TextsBelow(*form.TreeView2).empty());
  EXPECT_EQ(TextsBelow(*form.TreeView1), (std::vector<std::string>{"Music", "Work"}));
  EXPECT_FALSE(SavedHas({"T_影视"}));
}

TEST_F(CategoryCommandsTest, DeleteNeverLeavesCatalogueAndDataFolderOutOfStep) {
  TForm1& form = Start();
  // The element went away behind the tree's back: nothing is deleted.
  form.Catalogue().DeleteChild(FindElementByNames(form.Catalogue(), {Gbk("T_影视"), Gbk("T_电影")}), "D_Star");
  Point(Node({"影视", "电影", "Star"}));
  AnswerNextBoxWith(wxID_YES);
  form.N19Click();
  EXPECT_EQ(MessagesShown().back(), Gbk("无法在目录中找到选择的节点！"));
  EXPECT_TRUE(test::PathExists(SnapshotFile("Star")));
  EXPECT_TRUE(Node({"影视", "电影", "Star"}).IsOk());

  // The catalogue cannot be written: the snapshot file stays for the disc it still names on disk.
  test::FailingFileSystem failing;
  failing.fail_write = true;
  test::ScopedFileSystem scoped(&failing);
  ClearMessages();
  Point(Node({"影视", "电影", "Moon"}));
  AnswerNextBoxWith(wxID_YES);
  form.N19Click();
  EXPECT_EQ(MessagesShown(), (std::vector<std::string>{Gbk("确实要删除选择的光盘？\n它的快照文件将一起删除。"),
                                                       Gbk("保存 xml 配置文件时产生错误！")}));
  EXPECT_TRUE(test::PathExists(SnapshotFile("Moon")));
  EXPECT_TRUE(SavedHas({"T_影视", "T_电影", "D_Moon"}));
}

TEST_F(CategoryCommandsTest, MenusAndToolButtonReachTheCommands) {
  TForm1& form = Start();
  Send(wxEVT_MENU, form.N42->GetId());  // File › 新建 › 主类别
  EXPECT_TRUE(SavedHas({"T_新的主类0"}));
  form.TreeView1->EndEditLabel(wxTreeItemId(), true);
  Flush();

  Point(Node({"Work"}));
  Send(wxEVT_MENU, form.N43->GetId());  // File › 新建 › 子类别
  EXPECT_TRUE(SavedHas({"T_Work", "T_新的子类0"}));
  Send(wxEVT_MENU, form.N63->GetId());  // File › 重命名
  FinishEdit("Job");
  EXPECT_TRUE(SavedHas({"T_Job", "T_新的子类0"}));

  Point(Node({"Job"}));
  AnswerNextBoxWith(wxID_NO);
  Send(wxEVT_MENU, form.N47->GetId());  // Edit › 删除
  AnswerNextBoxWith(wxID_YES);
  Send(wxEVT_TOOL, form.ToolButton12->GetId());
  EXPECT_EQ(MessagesShown(),
            (std::vector<std::string>(2, Gbk("确实要删除选择的分类？\n其中的 0 张光盘和 0 个快照文件将一起删除。"))));
  EXPECT_FALSE(SavedHas({"T_Job"}));
}

}  // namespace
}  // namespace movra
