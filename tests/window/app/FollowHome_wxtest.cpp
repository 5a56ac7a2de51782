// The window beside other writers of its home: movra-cli (another process)
// adds, deletes and updates discs, or a child process replaces Movra.xml,
// under a live window, which follows in place and never writes the changes away.
#include <cstdlib>
#include <functional>
#include <iostream>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>

#include "catalog/CatalogueDocument.h"
#include "catalog/CategoryEdits.h"
#include "platform/FileLock.h"
#include "support/EditingSupport.h"
#include "support/MainWindowFixture.h"
#include "workflows/CatalogueEdit.h"

namespace movra {
namespace {

using test::Gbk;
using test::NodeByTexts;
using test::ReadBytes;
using test::WriteBytes;

const char* const kCatalogue =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>"
    "<T_电影><T_动作><D_DVD_01><Title>DVD_01</Title><Time>2006/3/3</Time></D_DVD_01></T_动作></T_电影>"
    "<T_apps> </T_apps></CDLIST></root>";

// The same catalogue with 动作 renamed 武打.
const char* const kRenamed =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST>"
    "<T_电影><T_武打><D_DVD_01><Title>DVD_01</Title><Time>2006/3/3</Time></D_DVD_01></T_武打></T_电影>"
    "<T_apps> </T_apps></CDLIST></root>";

std::string Quoted(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class FollowHomeTest : public test::MainWindowFixture {
 public:
  TForm1& Start() {
    WriteCatalogue(Gbk(kCatalogue));
    WriteBytes(ProgramFolder() + "/CDROM/DVD_01.cdg", test::SnapshotBytesOf("DVD_01"));
    WriteBytes(scan_ / "sub/a.txt", "hello");
    TForm1& form = StartForm();
    Select(Node({"电影", "动作", "DVD_01"}));
    return form;
  }
  wxTreeItemId Node(const std::vector<std::string>& utf8_texts) { return NodeByTexts(*Form().TreeView1, utf8_texts); }
  void Select(const wxTreeItemId& node) {
    ASSERT_TRUE(node.IsOk());
    Form().TreeView1->EnsureVisible(node);
    Form().TreeView1->SelectItem(node);
    Flush();
  }
  // movra-cli on this home, as another process; true when it succeeded.
  bool Cli(const std::vector<std::string>& args) const {
    std::string command = Quoted(MOVRA_CLI) + " --home " + Quoted(ProgramFolder());
    for (const std::string& arg : args) command += " " + Quoted(arg);
    return std::system((command + " >/dev/null 2>&1 </dev/null").c_str()) == 0;
  }
  // Another process puts a new catalogue in place, as an atomic writer does.
  void ReplaceCatalogue(const char* utf8_xml) const {
    WriteBytes(scratch_ / "Movra.xml", Gbk(utf8_xml));
    ASSERT_EQ(std::system(("mv " + Quoted(scratch_ / "Movra.xml") + " " + Quoted(CataloguePath())).c_str()), 0);
  }
  // Runs the event loop until done() holds or two seconds pass; the milliseconds it took.
  static long PumpUntil(const std::function<bool()>& done) {
    const wxLongLong start = wxGetLocalTimeMillis();
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    while (!done() && wxGetLocalTimeMillis() - start < 2000) {
      loop->DispatchTimeout(10);
      wxTheApp->ProcessPendingEvents();
      wxTheApp->ProcessIdle();
    }
    return (wxGetLocalTimeMillis() - start).ToLong();
  }
  // movra-cli files DVD_02 under 电影\动作 from the scanned folder.
  bool CliAdd() const { return Cli({"add", scan_.path(), "--name", "DVD_02", "--category", "电影\\动作"}); }
  bool SavedHas(const std::vector<std::string>& utf8_names) {
    CatalogueDocument saved;
    saved.Open(CataloguePath());
    std::vector<std::string> names;
    for (const std::string& name : utf8_names) names.push_back(Gbk(name.c_str()));
    return static_cast<bool>(FindElementByNames(saved, names));
  }
  // The window's next edit: a new main category, named in place.
  void NewMainCategory() {
    Form().G1Click();
    Form().TreeView1->EndEditLabel(wxTreeItemId(), true);
    Flush();
  }

  test::TempDir scan_;
  test::TempDir scratch_;
};

struct OutsideCase {
  const char* name;
  std::function<void(FollowHomeTest&)> change;                    // what the other process does
  std::vector<std::string> appears;                               // the node the window then shows
  std::vector<std::string> selected;                              // the category tree's selection afterwards
  std::vector<std::string> kept;                                  // element names the window's next save keeps
  std::vector<std::string> gone;                                  // and those it does not write back (if any)
};

class FollowHomeCases : public FollowHomeTest, public ::testing::WithParamInterface<OutsideCase> {};

TEST_P(FollowHomeCases, OutsideChangeShowsInPlaceWithinASecondAndSurvivesTheNextEdit) {
  const OutsideCase& c = GetParam();
  TForm1& form = Start();
  const wxTreeItemId top = Node({"电影"});
  const int notices = form.Watch()->Notices();
  c.change(*this);
  const long ms = PumpUntil([&] { return Node(c.appears).IsOk() && SelectedNode(*form.TreeView1) == Node(c.selected); });
  std::cout << "[ figure ] " << c.name << ": shown " << ms << " ms after the other program finished\n";
  ASSERT_TRUE(Node(c.appears).IsOk());
  EXPECT_GT(form.Watch()->Notices(), notices);
  EXPECT_EQ(SelectedNode(*form.TreeView1), Node(c.selected));
  // The node that stays is the same node, still open.
  EXPECT_EQ(Node({"电影"}), top);
  EXPECT_TRUE(form.TreeView1->IsExpanded(top));
  EXPECT_EQ(form.CurrentCategoryNode(), SelectedNode(*form.TreeView1));
  NewMainCategory();
  EXPECT_TRUE(SavedHas(c.kept));
  if (!c.gone.empty()) {
    EXPECT_FALSE(SavedHas(c.gone));
  }
  EXPECT_TRUE(SavedHas({"T_新的主类0"}));
}

INSTANTIATE_TEST_SUITE_P(
    OtherWriters, FollowHomeCases,
    ::testing::Values(
        OutsideCase{"add",
                    [](FollowHomeTest& t) { ASSERT_TRUE(t.CliAdd()); },
                    {"电影", "动作", "DVD_02"},
                    {"电影", "动作", "DVD_01"},
                    {"T_电影", "T_动作", "D_DVD_02"},
                    {}},
        OutsideCase{"delete of the shown disc",
                    [](FollowHomeTest& t) { ASSERT_TRUE(t.Cli({"rm", "电影\\动作\\DVD_01"})); },
                    {"电影", "动作"},
                    {"电影", "动作"},
                    {"T_电影", "T_动作"},
                    {"T_电影", "T_动作", "D_DVD_01"}},
        OutsideCase{"rename of its category",
                    [](FollowHomeTest& t) { t.ReplaceCatalogue(kRenamed); },
                    {"电影", "武打", "DVD_01"},
                    {"电影", "武打", "DVD_01"},
                    {"T_电影", "T_武打", "D_DVD_01"},
                    {"T_电影", "T_动作"}}),
    [](const ::testing::TestParamInfo<OutsideCase>& info) { return "Case" + std::to_string(info.index); });

TEST_F(FollowHomeTest, DeletedShownDiscLeavesNoTraceInTreesOrHistory) {
  TForm1& form = Start();
  Select(Node({"apps"}));
  Select(Node({"电影", "动作", "DVD_01"}));
  ASSERT_TRUE(Cli({"rm", "电影\\动作\\DVD_01"}));
  PumpUntil([&] { return !Node({"电影", "动作", "DVD_01"}).IsOk(); });
  EXPECT_TRUE(test::TextsBelow(*form.TreeView2).empty());
  EXPECT_TRUE(form.ContentState().loaded_disc_name.empty());
  EXPECT_EQ(form.ListView1->Model().Count(), 0u);
  // Back goes to the node visited before, never to the disc that went.
  form.GoBack();
  EXPECT_EQ(SelectedNode(*form.TreeView1), Node({"apps"}));
}

TEST_F(FollowHomeTest, EditThatFindsTheFileChangedShowsTheChangeBeforeGoingOn) {
  TForm1& form = Start();
  const wxTreeItemId disc = SelectedNode(*form.TreeView1);
  ReplaceCatalogue(kRenamed);
  // No event has been handled yet: the edit itself finds the change.
  Workspace work = form.Work();
  const CatalogueEdit edit = CatalogueEdit::Begin(work);
  ASSERT_TRUE(edit.ok());
  EXPECT_TRUE(edit.reloaded());
  EXPECT_EQ(Node({"电影", "武打", "DVD_01"}), disc);
  EXPECT_EQ(SelectedNode(*form.TreeView1), disc);
}

TEST_F(FollowHomeTest, ReplacedSnapshotOfTheShownDiscIsListedAgain) {
  TForm1& form = Start();
  ASSERT_TRUE(Cli({"update", "电影\\动作\\DVD_01", scan_.path()}));
  const wxTreeItemId disc = Node({"电影", "动作", "DVD_01"});
  // The disc's folder nodes now come from the new snapshot: the scanned folder's "sub", not the old "DVD_01".
  PumpUntil([&] {
    const wxTreeItemId root = form.TreeView1->GetLastChild(disc);
    return root.IsOk() && test::TextsBelow(*form.TreeView1, root) == std::vector<std::string>{"sub"};
  });
  const wxTreeItemId root = form.TreeView1->GetLastChild(disc);
  ASSERT_TRUE(root.IsOk());
  EXPECT_EQ(test::TextsBelow(*form.TreeView1, root), std::vector<std::string>{"sub"});
  EXPECT_EQ(SelectedNode(*form.TreeView1), disc);
}

TEST_F(FollowHomeTest, BackupAtStartWaitsForTheLockAndIsSkippedWhileAnotherWriterKeepsIt) {
  WriteCatalogue(Gbk(kCatalogue));
  WriteBytes(BackupPath(), "older backup");
  {
    const FileLock held = FileLock::Acquire(LockFileOf(CataloguePath()), std::chrono::milliseconds(0));
    ASSERT_TRUE(held.held());
    StartForm();
    EXPECT_EQ(ReadBytes(BackupPath()), "older backup");
    EXPECT_TRUE(MessagesShown().empty());
  }
  StartForm();
  EXPECT_EQ(ReadBytes(BackupPath()), Gbk(kCatalogue));
}

}  // namespace
}  // namespace movra
