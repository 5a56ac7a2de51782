// movra-cli as a user runs it: a generated folder tree added, listed, shown,
// searched, exported, imported, deleted and checked, compared with what the
// core functions give for the same home.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

#include "browse/FolderListing.h"
#include "cli/CliRun.h"
#include "platform/TextCodec.h"
#include "search/DiscList.h"
#include "search/SnapshotSearch.h"
#include "snapshot/SnapshotFile.h"

namespace movra {
namespace {

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(tree_ / "VIDEO_TS/movie.vob", "12345");
    test::WriteBytes(tree_ / "VIDEO_TS/menu.txt", "1");
    test::WriteBytes(tree_ / "照片/a.txt", "abc");
    test::WriteBytes(tree_ / "readme.TXT", "");
    ASSERT_EQ(cli_.Run({"mkcat", "电影"}).status, 0);
    ASSERT_EQ(cli_.Run({"mkcat", "电影\\动作"}).status, 0);
    const test::CliOutput added = cli_.Run({"add", tree_.path(), "--name", "DVD_01", "--category", "电影\\动作"});
    ASSERT_EQ(added.status, 0) << added.err;
  }
  std::string Snapshot(const std::string& disc) const { return cli_.home() / ("CDROM/" + disc + ".cdg"); }

  test::CliHome cli_;
  test::TempDir tree_;
};

TEST_F(CliTest, AddedTreeIsListedShownAndSearchedAsTheCoreSeesIt) {
  EXPECT_EQ(cli_.Run({"list"}).out, "电影\\\n  动作\\\n    DVD_01\n");
  SnapshotIndex index;
  ASSERT_TRUE(ReadSnapshot(index, Utf8ToGbk(Snapshot("DVD_01"))));
  const std::string root = index.RootFolder();
  const std::string video = root + "VIDEO_TS\\";

  // show: the content list's order (folders first), by full path or by bare name.
  const std::vector<std::string> shown = cli_.Run({"show", "电影\\动作\\DVD_01"}).Lines();
  const std::vector<SnapshotEntry> entries = FolderEntries(index, root);
  ASSERT_EQ(shown.size(), entries.size());
  for (size_t i = 0; i < shown.size(); ++i) EXPECT_TRUE(shown[i].ends_with("\t" + GbkToUtf8(entries[i].name)));
  EXPECT_TRUE(shown.back().starts_with("file\t0\t"));
  EXPECT_EQ(cli_.Run({"show", "DVD_01", "VIDEO_TS"}).Lines().size(), 2u);
  EXPECT_EQ(cli_.Run({"show", "DVD_01", "nowhere"}).status, 2);

  // search: the same rows as the core search, case-blind unless --case.
  CatalogueDocument doc;
  ASSERT_TRUE(doc.Open(Utf8ToGbk(cli_.home() / "Movra.xml")));
  NameMatcher matcher(".txt", MatchOptions{});
  SearchResults results;
  SearchDiscs(Utf8ToGbk(cli_.home() / "CDROM/"), BuildDiscList(doc.CdList()), matcher, results, {});
  const test::CliOutput found = cli_.Run({"search", ".txt"});
  EXPECT_EQ(found.status, 0);
  ASSERT_EQ(found.Lines().size(), results.size() - 1);  // the core's rows less the disc header
  ASSERT_EQ(found.Lines().size(), 3u);
  EXPECT_EQ(found.Lines()[0].substr(0, found.Lines()[0].find('\t')), "电影\\动作\\DVD_01");
  EXPECT_EQ(cli_.Run({"search", ".txt", "--case", "--in", "电影\\动作"}).Lines().size(), 2u);
  EXPECT_EQ(cli_.Run({"search", "menu.txt", "--in", "DVD_01"}).out,
            "电影\\动作\\DVD_01\t" + GbkToUtf8(video) + "\tmenu.txt\tfile\t1\t" +
                found.Lines()[0].substr(found.Lines()[0].rfind('\t') + 1) + "\n");
  const nlohmann::json row = nlohmann::json::parse(cli_.Run({"search", "照片", "--json"}).Lines().at(0));
  EXPECT_EQ(row["kind"], "folder");
  EXPECT_EQ(row["size"], 0);
  EXPECT_EQ(row["disc"], "电影\\动作\\DVD_01");
  EXPECT_EQ(cli_.Run({"search", "nothing-like-it"}).status, 1);
  EXPECT_EQ(cli_.Run({"stats"}).out, "discs\t1\ncategories\t2\nentries\t6\nbytes\t9\n");
}

TEST_F(CliTest, ExportImportRoundTripAndRemoval) {
  test::TempDir out;
  ASSERT_EQ(cli_.Run({"export", "DVD_01", out.path()}).status, 0);
  EXPECT_EQ(test::ReadBytes(out / "DVD_01.cdg"), test::ReadBytes(Snapshot("DVD_01")));
  EXPECT_EQ(cli_.Run({"export", "DVD_01", out.path()}).err, "movra-cli: 此文件夹已包含同名文件！\n");

  ASSERT_EQ(cli_.Run({"rm", "电影\\动作\\DVD_01"}).status, 0);
  EXPECT_FALSE(test::PathExists(Snapshot("DVD_01")));
  ASSERT_EQ(cli_.Run({"import", out / "DVD_01.cdg", "--category", "电影"}).status, 0);
  EXPECT_EQ(test::ReadBytes(Snapshot("DVD_01")), test::ReadBytes(out / "DVD_01.cdg"));
  EXPECT_EQ(cli_.Run({"search", "movie", "--in", "电影\\DVD_01"}).Lines().size(), 1u);
  EXPECT_EQ(cli_.Run({"import", out / "DVD_01.cdg", "--category", "电影"}).err, "movra-cli: 快照名称已存在！\n");

  // A category goes with its discs and their snapshot files.
  ASSERT_EQ(cli_.Run({"rm", "电影"}).status, 0);
  EXPECT_EQ(cli_.Run({"list"}).out, "");
  EXPECT_FALSE(test::PathExists(Snapshot("DVD_01")));
}

TEST_F(CliTest, RefusalsChangeNothing) {
  const std::string before = test::ReadBytes(cli_.home() / "Movra.xml");
  const std::vector<std::vector<std::string>> refused = {
      {"add", tree_.path(), "--name", "a b", "--category", "电影"},     // name rules
      {"add", tree_.path(), "--name", "DVD_01", "--category", "电影"},  // taken
      {"add", tree_.path(), "--name", std::string(300, 'x'), "--category", "电影"},
      {"add", tree_.path(), "--name", "X", "--category", "没有"},
      {"add", tree_ / "missing", "--name", "X", "--category", "电影"},
      {"mkcat", "电影"},
      {"mkcat", "没有\\子类"},
      {"rm", "没有"},
      {"show", "没有"},
      {"nosuchcommand"},
  };
  for (const auto& args : refused) {
    const test::CliOutput output = cli_.Run(args);
    EXPECT_EQ(output.status, 2) << args.back();
    EXPECT_FALSE(output.err.empty()) << args.back();
  }
  EXPECT_EQ(test::ReadBytes(cli_.home() / "Movra.xml"), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(cli_.home() / "CDROM"), std::filesystem::directory_iterator()), 1);
  EXPECT_EQ(cli_.Run({"--version"}).out.rfind("movra-cli ", 0), 0u);
}

TEST_F(CliTest, CheckReportsADamagedHome) {
  EXPECT_EQ(cli_.Run({"check"}).status, 0);
  ASSERT_EQ(cli_.Run({"add", tree_.path(), "--name", "Two", "--category", "电影"}).status, 0);
  std::filesystem::remove(Snapshot("DVD_01"));
  test::WriteBytes(Snapshot("Two"), "no snapshot line");
  test::WriteBytes(Snapshot("孤儿"), "");
  const test::CliOutput checked = cli_.Run({"check"});
  EXPECT_EQ(checked.status, 1);
  EXPECT_EQ(checked.out, "missing\t电影\\动作\\DVD_01\nunreadable\t电影\\Two\norphan\t孤儿.cdg\n");

  // A catalogue that does not read takes no edit and says so.
  std::filesystem::remove(cli_.home() / "Movra.xml");
  std::filesystem::create_directory(cli_.home() / "Movra.xml");
  const test::CliOutput refused = cli_.Run({"mkcat", "新"});
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.err, "movra-cli: xml 配置文件无法读取，本次运行不会保存任何更改！\n");
}

}  // namespace
}  // namespace movra
