// movra-cli as a user runs it: a generated folder tree added, listed, shown,
// searched, exported, imported, deleted and checked, compared with what the
// core functions give for the same home.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <vector>

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
  // Only the one snapshot, beside the name index the adds keep in step.
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(cli_.home() / "CDROM"))
    if (entry.path().filename() != ".index") files.push_back(entry.path().filename().string());
  EXPECT_EQ(files, std::vector<std::string>{"DVD_01.cdg"});
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

TEST_F(CliTest, UpdatePrintsTheChangesAndAddTakesAnImage) {
  // The folder keeps its time, so only the two files show as changes.
  const std::time_t folder_time = std::chrono::system_clock::to_time_t(
      std::chrono::file_clock::to_sys(std::filesystem::last_write_time(tree_ / "VIDEO_TS")));
  test::WriteBytes(tree_ / "VIDEO_TS/new.vob", "n");
  ASSERT_TRUE(test::SetTimes(tree_ / "VIDEO_TS", folder_time));
  std::filesystem::remove(tree_ / "readme.TXT");
  const std::string before = test::ReadBytes(Snapshot("DVD_01"));
  const test::CliOutput dry = cli_.Run({"update", "DVD_01", tree_.path(), "--dry-run"});
  ASSERT_EQ(dry.status, 0) << dry.err;
  // Keys depend on the drive that holds the tree; the changes are the ends of the lines.
  const std::vector<std::string> lines = dry.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].starts_with("+ ") && lines[0].ends_with("\\VIDEO_TS\\new.vob")) << lines[0];
  EXPECT_TRUE(lines[1].starts_with("- ") && lines[1].ends_with("\\readme.TXT")) << lines[1];
  EXPECT_EQ(test::ReadBytes(Snapshot("DVD_01")), before);
  ASSERT_EQ(cli_.Run({"update", "电影\\动作\\DVD_01", tree_.path()}).status, 0);
  EXPECT_EQ(cli_.Run({"update", "DVD_01", tree_.path()}).out, "");

  if (!test::ToolPath("xorriso")) GTEST_SKIP() << "xorriso is not installed";
  test::TempDir images;
  ASSERT_EQ(test::RunTool("xorriso", {"-as", "mkisofs", "-J", "-R", "-o", test::ToolArgument(images / "disc.iso"),
                                      test::ToolArgument(tree_.path())}),
            0);
  const test::CliOutput added = cli_.Run({"add", images / "disc.iso", "--name", "ISO_1", "--category", "电影"});
  ASSERT_EQ(added.status, 0) << added.err;
  EXPECT_NE(test::ReadBytes(Snapshot("ISO_1")).find(":\\VIDEO_TS\\new.vob[1]"), std::string::npos);
  test::WriteBytes(images / "bad.iso", std::string(50000, 'x'));
  EXPECT_EQ(cli_.Run({"add", images / "bad.iso", "--name", "Bad", "--category", "电影"}).status, 2);
}

TEST_F(CliTest, SearchesGiveTheSameRowsWithAndWithoutTheIndexAlsoAfterAChangeByHand) {
  // add told the index about the new snapshot; rebuild makes the index complete.
  ASSERT_EQ(cli_.Run({"index", "rebuild"}).out, "indexed\t1/1\n");
  const std::vector<std::string> status = cli_.Run({"index", "status"}).Lines();
  ASSERT_GE(status.size(), 5u);
  EXPECT_EQ(status[0], "complete\tyes");
  EXPECT_EQ(status[4], "missing\t0");
  for (const char* text : {"menu.txt", "*.txt", "VIDEO", "照片"})
    EXPECT_EQ(cli_.Run({"search", text}).out, cli_.Run({"search", text, "--no-index"}).out) << text;

  // A snapshot replaced by hand is read whole, then its index part is rebuilt.
  std::string snapshot = test::ReadBytes(Snapshot("DVD_01"));
  snapshot.replace(snapshot.find("menu.txt"), 8, "main.txt");
  test::WriteBytes(Snapshot("DVD_01"), snapshot);
  EXPECT_EQ(cli_.Run({"search", "main.txt"}).Lines().size(), 1u);
  EXPECT_EQ(cli_.Run({"search", "menu.txt"}).status, 1);
}

TEST_F(CliTest, SearchConditionsNarrowTheRowsAndABadTextIsRefused) {
  // movie.vob 5 bytes, a.txt 3, menu.txt 1, readme.TXT 0; folders VIDEO_TS and 照片.
  struct Case {
    std::vector<std::string> args;
    std::vector<std::string> names;  // in the order found
  };
  const Case cases[] = {
      {{"", "--min-size", "3"}, {"a.txt", "movie.vob"}},
      {{"", "--max-size", "1b", "--files"}, {"menu.txt", "readme.TXT"}},
      {{"", "--folders"}, {"VIDEO_TS", "照片"}},
      {{"", "--max-size", "0"}, {"VIDEO_TS", "照片", "readme.TXT"}},
      {{"*.txt", "--min-size", "2"}, {"a.txt"}},
      {{"", "--before", "2000-1-1"}, {}},
      {{"", "--after", "2000/1/1 9:07", "--files", "--min-size", "1K"}, {}},
      {{"", "--after", "2000/1/1 9:07", "--files"}, {"a.txt", "menu.txt", "movie.vob", "readme.TXT"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"search"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const test::CliOutput found = cli_.Run(args);
    std::vector<std::string> names;
    for (const std::string& line : found.Lines()) {
      const size_t name = line.find('\t', line.find('\t') + 1) + 1;
      names.push_back(line.substr(name, line.find('\t', name) - name));
    }
    EXPECT_EQ(names, c.names) << c.args.back();
    EXPECT_EQ(found.status, c.names.empty() ? 1 : 0) << c.args.back();
  }
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"search", "a", "--min-size", "7OOM"}, "movra-cli: 无法识别的大小“7OOM”\n"},
      {{"search", "a", "--max-size", ""}, "movra-cli: 无法识别的大小“”\n"},
      {{"search", "a", "--after", "2006-13-1"}, "movra-cli: 无法识别的日期“2006-13-1”\n"},
      {{"search", "a", "--before", "yesterday"}, "movra-cli: 无法识别的日期“yesterday”\n"},
  };
  for (const auto& [args, message] : refused) {
    const test::CliOutput output = cli_.Run(args);
    EXPECT_EQ(output.status, 2) << args.back();
    EXPECT_EQ(output.err, message);
    EXPECT_EQ(output.out, "");
  }
  EXPECT_EQ(cli_.Run({"search", ""}).status, 2);  // nothing asked for
  EXPECT_EQ(cli_.Run({"search", "", "--files", "--folders"}).status, 2);
}

// Every format goes to stdout or, the same bytes, into a file; a file that
// cannot be written is refused before the search, and a search that fails
// leaves the file there as it was.
TEST_F(CliTest, SearchWritesEachFormatToAFileOnlyWhenTheListIsComplete) {
  test::TempDir out;
  for (const std::string format : {"tsv", "json", "csv", "efu", "html"}) {
    const test::CliOutput shown = cli_.Run({"search", "*.txt", "--format", format});
    EXPECT_EQ(shown.status, 0) << format;
    const test::CliOutput written = cli_.Run({"search", "*.txt", "--format", format, "--output", out / format});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(test::ReadBytes(out / format), shown.out) << format;
  }
  EXPECT_EQ(cli_.Run({"search", "*.txt", "--json"}).out, test::ReadBytes(out / "json"));
  // The page shows the disc below its categories with its memo from the catalogue.
  EXPECT_NE(test::ReadBytes(out / "html").find("[\"动作\",0,0],[\"DVD_01\",1,1,[\"光盘编号："), std::string::npos);
  EXPECT_EQ(cli_.Run({"search", "nothing-like-it", "--format", "csv", "--output", out / "csv"}).status, 1);
  EXPECT_EQ(test::ReadBytes(out / "csv"), "\xEF\xBB\xBF" "disc,folder,name,kind,size,modified\r\n");

  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"--output", out / "missing/list.csv"}, "movra-cli: 无法写入文件（" + out / "missing/list.csv" + "），请检查路径和权限！\n"},
      {{"--output", out.path()}, "movra-cli: 无法写入文件（" + out.path() + "），请检查路径和权限！\n"},
      {{"--format", "xml"}, ""},
      {{"--json", "--format", "csv"}, ""},
  };
  for (const auto& [options, message] : refused) {
    std::vector<std::string> args = {"search", "*.txt"};
    args.insert(args.end(), options.begin(), options.end());
    const test::CliOutput output = cli_.Run(args);
    EXPECT_EQ(output.status, 2) << options.back();
    if (!message.empty()) {
      EXPECT_EQ(output.err, message);
    }
    EXPECT_EQ(output.out, "");
  }
  // A time that is no date-time stops the search: the file keeps its old list.
  test::WriteBytes(out / "efu", "old list");
  test::WriteBytes(Snapshot("DVD_01"), test::ReadBytes(Snapshot("DVD_01")) + "E:\\late.txt[1]yesterday\r\n");
  EXPECT_EQ(cli_.Run({"search", "*.txt", "--no-index", "--format", "efu", "--output", out / "efu"}).status, 2);
  EXPECT_EQ(test::ReadBytes(out / "efu"), "old list");
  // On stdout the rows found before the stop are written.
  EXPECT_EQ(cli_.Run({"search", "*.txt", "--no-index"}).Lines().size(), 3u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.path()), {}), 5) << "no temporary file is left";
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

TEST_F(CliTest, LocatePrintsTheRealPathWhileTheFolderIsThere) {
  EXPECT_EQ(cli_.Run({"locate", "DVD_01"}).out, tree_.path() + "\n");
  const test::CliOutput file = cli_.Run({"locate", "电影\\动作\\DVD_01", "照片/a.txt"});
  EXPECT_EQ(file.status, 0) << file.err;
  EXPECT_EQ(file.out, tree_ / "照片/a.txt\n");
  const std::string moved = tree_.path() + ".moved";
  ASSERT_EQ(std::rename(tree_.path().c_str(), moved.c_str()), 0);
  const test::CliOutput absent = cli_.Run({"locate", "DVD_01", "照片/a.txt"});
  ASSERT_EQ(std::rename(moved.c_str(), tree_.path().c_str()), 0);
  EXPECT_EQ(absent.status, 1);
  EXPECT_EQ(absent.out, "");
  EXPECT_TRUE(absent.err.find("不存在") != std::string::npos) << absent.err;
  EXPECT_EQ(cli_.Run({"locate", "NO_SUCH_DISC"}).status, 2);
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

TEST_F(CliTest, DupesListsTheCopiesOfEachFileOnSeveralDiscsLargestFirst) {
  EXPECT_EQ(cli_.Run({"dupes"}).status, 1);  // one disc only
  ASSERT_EQ(cli_.Run({"add", tree_.path(), "--name", "DVD_02", "--category", "电影"}).status, 0);
  const test::CliOutput found = cli_.Run({"dupes"});
  EXPECT_EQ(found.status, 0) << found.err;
  std::vector<std::string> groups;  // group, disc and name of each line; empty readme.TXT is left out
  for (const std::string& line : found.Lines()) {
    const size_t disc_end = line.find('\t', line.find('\t') + 1);
    const size_t name = line.find('\t', disc_end + 1) + 1;
    groups.push_back(line.substr(0, disc_end) + " " + line.substr(name, line.find('\t', name) - name));
  }
  EXPECT_EQ(groups, (std::vector<std::string>{"1\t电影\\动作\\DVD_01 movie.vob", "1\t电影\\DVD_02 movie.vob",
                                              "2\t电影\\动作\\DVD_01 a.txt", "2\t电影\\DVD_02 a.txt",
                                              "3\t电影\\动作\\DVD_01 menu.txt", "3\t电影\\DVD_02 menu.txt"}));
  EXPECT_EQ(cli_.Run({"dupes", "--min-size", "4"}).Lines().size(), 2u);
  const std::vector<std::string> csv = cli_.Run({"dupes", "--format", "csv"}).Lines();
  ASSERT_EQ(csv.size(), 7u);  // the header, then the copies group by group
  EXPECT_EQ(csv[2].substr(0, csv[2].find(',')), "电影\\DVD_02");
  EXPECT_EQ(cli_.Run({"dupes", "--in", "电影\\动作"}).status, 1);
  EXPECT_EQ(cli_.Run({"dupes", "--min-size", "7OOM"}).err, "movra-cli: 无法识别的大小“7OOM”\n");
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

TEST_F(CliTest, AFileListOfADiscComesBackAsADiscWithTheSameEntries) {
  test::TempDir out;
  // Every entry as "folder below the disc's root|name|kind|size|modified", sorted.
  auto entries = [this](const std::string& disc) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : cli_.Run({"search", "*", "--in", disc}).Lines()) {
      std::vector<std::string>& fields = rows.emplace_back();
      for (size_t start = 0, tab = 0; tab != line.size(); start = tab + 1) {
        tab = std::min(line.find('\t', start), line.size());
        fields.push_back(line.substr(start, tab - start));
      }
    }
    std::string root = rows.at(0).at(1);
    for (const auto& fields : rows) root = fields[1].size() < root.size() ? fields[1] : root;
    std::vector<std::string> relative;
    for (const auto& f : rows) relative.push_back(f[1].substr(root.size()) + "|" + f[2] + "|" + f[3] + "|" + f[4] + "|" + f[5]);
    std::sort(relative.begin(), relative.end());
    return relative;
  };
  const std::vector<std::string> original = entries("DVD_01");
  for (const char* format : {"efu", "csv"}) {
    const std::string list = out / (std::string("list.") + format);
    ASSERT_EQ(cli_.Run({"search", "*", "--in", "DVD_01", "--format", format, "--output", list}).status, 0);
    const std::string name = std::string("BACK_") + format;
    const test::CliOutput back = cli_.Run({"import-list", list, "--name", name, "--category", "电影"});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(back.out, "电影\\" + name + "\n");
    EXPECT_EQ(entries(name), original) << format;
    EXPECT_EQ(cli_.Run({"import-list", list, "--name", name, "--category", "电影"}).err, "movra-cli: 快照名称已存在！\n");
  }
}

}  // namespace
}  // namespace movra
