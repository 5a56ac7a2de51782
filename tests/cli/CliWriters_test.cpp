// Several movra-cli processes on one home at once: every edit that reports
// success is in the catalogue, every refused one changed nothing, and a home
// whose lock is held (or whose holder was killed) behaves as the user is told.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "catalog/CatalogueDocument.h"
#include "catalog/ElementNames.h"
#include "cli/CliRun.h"
#include "platform/FileLock.h"
#include "platform/TextCodec.h"
#include "support/LockHolder.h"

namespace movra {
namespace {

using namespace std::chrono_literals;

class CliWritersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(tree_a_ / "a_only.txt", "a");
    test::WriteBytes(tree_b_ / "sub/b_only.txt", "bb");
    ASSERT_EQ(cli_.Run({"mkcat", "甲"}).status, 0);
    ASSERT_EQ(cli_.Run({"mkcat", "乙"}).status, 0);
  }
  std::string Catalogue() const { return test::ReadBytes(cli_.home() / "Movra.xml"); }
  std::string Snapshot(const std::string& disc) const { return cli_.home() / ("CDROM/" + disc + ".cdg"); }
  // The disc's element in the catalogue as it is on disk, or none.
  Element Disc(CatalogueDocument& doc, const std::string& name) const {
    return doc.FindDiscElement(DiscElementName(Utf8ToGbk(name)));
  }

  test::CliHome cli_;
  test::TempDir tree_a_;
  test::TempDir tree_b_;
  test::TempDir imports_;
};

TEST_F(CliWritersTest, EightWritersAtOnceLoseNothingAndLeaveNoOrphan) {
  // A snapshot file to import, one copy per round under the disc's name.
  ASSERT_EQ(cli_.Run({"add", tree_a_.path(), "--name", "Seed", "--category", "乙"}).status, 0);
  const std::string seed = test::ReadBytes(Snapshot("Seed"));
  constexpr int kRounds = 20;
  for (int r = 0; r < kRounds; ++r) {
    const std::string n = "R" + std::to_string(r);
    test::WriteBytes(imports_ / ("I" + std::to_string(r) + ".cdg"), seed);
    const std::vector<test::CliOutput> runs = cli_.RunTogether({
        {"add", tree_a_.path(), "--name", n + "_1", "--category", "甲"},
        {"add", tree_b_.path(), "--name", n + "_2", "--category", "甲"},
        {"add", tree_a_.path(), "--name", n + "_X", "--category", "甲", "--memo", "a"},
        {"add", tree_b_.path(), "--name", n + "_X", "--category", "甲", "--memo", "b"},
        {"mkcat", "甲\\S" + std::to_string(r)},
        {"mkcat", "乙"},
        {"import", imports_ / ("I" + std::to_string(r) + ".cdg"), "--category", "乙"},
        {"rm", r == 0 ? "Seed" : "R" + std::to_string(r - 1) + "_1"},
    });
    for (int i : {0, 1, 4, 6, 7}) EXPECT_EQ(runs[i].status, 0) << n << " #" << i << ": " << runs[i].err;
    EXPECT_EQ(runs[5].err, "movra-cli: 分类名称已存在！\n");
    // Two adds of one name: exactly one is filed, and its snapshot is its own.
    ASSERT_NE(runs[2].status, runs[3].status) << n;
    const bool a_won = runs[2].status == 0;
    EXPECT_EQ(runs[a_won ? 3 : 2].err, "movra-cli: 光盘名称已存在！\n");
    CatalogueDocument doc;
    ASSERT_TRUE(doc.Open(cli_.home() / "Movra.xml"));
    const Element x = Disc(doc, n + "_X");
    ASSERT_TRUE(x) << n;
    EXPECT_EQ(CatalogueDocument::ElementText(CatalogueDocument::FindChild(x, "Memo")), a_won ? "anbsp" : "bnbsp");
    EXPECT_NE(test::ReadBytes(Snapshot(n + "_X")).find(a_won ? "a_only.txt" : "b_only.txt"), std::string::npos);
  }
  CatalogueDocument doc;
  ASSERT_TRUE(doc.Open(cli_.home() / "Movra.xml"));
  for (int r = 0; r < kRounds; ++r) {
    const std::string n = "R" + std::to_string(r);
    EXPECT_EQ(bool(Disc(doc, n + "_1")), r == kRounds - 1) << n;
    EXPECT_EQ(test::PathExists(Snapshot(n + "_1")), r == kRounds - 1) << n;
    EXPECT_TRUE(Disc(doc, n + "_2")) << n;
    EXPECT_TRUE(Disc(doc, "I" + std::to_string(r))) << r;
    EXPECT_TRUE(doc.ResolvePath(Utf8ToGbk("甲\\S" + std::to_string(r) + "\\"), false)) << r;
  }
  EXPECT_FALSE(Disc(doc, "Seed"));
  const test::CliOutput checked = cli_.Run({"check"});
  EXPECT_EQ(checked.status, 0);
  EXPECT_EQ(checked.out, "");
}

// A home whose lock another process holds.
class HeldHomeTest : public CliWritersTest {
 protected:
  void SetUp() override {
    CliWritersTest::SetUp();
    if (IsSkipped()) return;
    holder_ = test::StartLockHolder(cli_.home() / "Movra.xml.lock");
    ASSERT_TRUE(holder_);
  }
  void Kill() { holder_->Kill(); }

  std::unique_ptr<test::RunningChild> holder_;
};

TEST_F(HeldHomeTest, AWriterThatMayNotWaitIsRefusedAndChangesNothing) {
  const std::string before = Catalogue();
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--wait", "0", "mkcat", "丙"},
           {"--wait", "0.2", "add", tree_a_.path(), "--name", "D", "--category", "甲"},
           {"--wait", "0", "rm", "甲"}}) {
    const test::CliOutput refused = cli_.Run(args);
    EXPECT_EQ(refused.status, 2) << args[2];
    EXPECT_EQ(refused.err, "movra-cli: 光盘目录正被另一个程序修改，请稍后再试！\n") << args[2];
  }
  EXPECT_EQ(Catalogue(), before);
  EXPECT_FALSE(test::PathExists(Snapshot("D")));
}

TEST_F(HeldHomeTest, AKilledHolderLetsTheNextWriterGoOnAtOnce) {
  Kill();
  const test::CliOutput made = cli_.Run({"--wait", "0", "mkcat", "丙"});
  EXPECT_EQ(made.status, 0) << made.err;
  EXPECT_NE(Catalogue().find("T_" + Utf8ToGbk("丙")), std::string::npos);
}

}  // namespace
}  // namespace movra
