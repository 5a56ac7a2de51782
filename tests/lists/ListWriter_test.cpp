// Every list format read back by a reader of its own (split lines, JSON,
// Python's csv module, the file-list reader, the page's script arrays) gives
// the rows written, names with commas, quotes, & < </script> and Chinese
// (one with a 0x5C trail byte in GBK) included.
#include "lists/ListWriter.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <string>
#include <vector>

#include "browse/DisplayFormat.h"
#include "lists/EfuList.h"
#include "platform/TextCodec.h"
#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

// One row of a list as its texts read back: UTF-8, times as yyyy-mm-dd hh:mm:ss.
struct TextRow {
  std::string disc, folder, name, kind, size, modified;
  bool operator==(const TextRow&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TextRow& r) {
  return out << r.disc << '|' << r.folder << '|' << r.name << '|' << r.kind << '|' << r.size << '|' << r.modified;
}

class StringSink : public ByteSink {
 public:
  bool Write(std::string_view bytes) override {
    bytes_ += bytes;
    return !fail;
  }
  std::string bytes_;
  bool fail = false;
};

class ListWriterTest : public ::testing::Test {
 protected:
  struct Row {
    const char* disc;
    const char* folder;
    const char* name;
    bool is_file;
    std::int64_t size;
    DateTimeParts modified;
  };
  // Rows of three discs as a search gives them (the texts are UTF-8 here, GBK when written).
  static constexpr Row kRows[] = {
      {"电影\\动作\\DVD_01", "E:\\VIDEO_TS\\", "VTS_01_1.VOB", true, 1073741824, {2006, 3, 3, 9, 7, 2}},
      {"电影\\动作\\DVD_01", "E:\\VIDEO_TS\\", "a,b\"c\".txt", true, 5, {2006, 3, 3, 9, 7, 2}},
      {"电影\\动作\\DVD_01", "E:\\", "VIDEO_TS", false, 0, {2006, 3, 3, 9, 0, 0}},
      {"电影\\动作\\DVD_01", "E:\\誠实\\", "</script><!--&<b>'x'.htm", true, 0, {2006, 4, 2, 12, 0, 0}},
      {"音乐\\CD 1", "E:\\", "晴天, \"live\" & more.mp3", true, 1025, {1999, 12, 31, 23, 59, 59}},
      {"音乐\\CD 1", "E:\\曲目\\子\\", "七里香.flac", true, 4096, {2004, 8, 3, 0, 0, 0}},
      {"备份", "Z:\\home\\ann\\", "照片", false, 0, {2024, 1, 1, 8, 30, 0}},
  };

  // Writes every row in format.
  static std::string Written(ListFormat format, const ListOptions& options = {}) {
    StringSink sink;
    const std::unique_ptr<ListWriter> writer = MakeListWriter(format, sink, options);
    for (const Row& row : kRows) {
      const std::string disc = Utf8ToGbk(row.disc), folder = Utf8ToGbk(row.folder), name = Utf8ToGbk(row.name);
      writer->Write({disc, folder, name, row.is_file, row.size, EncodeDateTime(row.modified)});
    }
    EXPECT_TRUE(writer->Finish());
    return sink.bytes_;
  }
  static std::vector<TextRow> Expected() {
    std::vector<TextRow> rows;
    for (const Row& r : kRows)
      rows.push_back({r.disc, r.folder, r.name, r.is_file ? "file" : "folder", std::to_string(r.size),
                      FormatDate(EncodeDateTime(r.modified))});
    return rows;
  }
  test::TempDir dir_;
};

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
  std::vector<std::string> pieces;
  for (std::size_t at = 0;;) {
    const std::size_t end = text.find(separator, at);
    pieces.emplace_back(text.substr(at, end - at));
    if (end == std::string_view::npos) return pieces;
    at = end + separator.size();
  }
}

TEST_F(ListWriterTest, TabbedAndJsonLinesGiveTheRows) {
  std::vector<TextRow> tabbed, json;
  for (const std::string& line : Split(Written(ListFormat::kTsv), "\n")) {
    if (line.empty()) continue;
    const std::vector<std::string> f = Split(line, "\t");
    ASSERT_EQ(f.size(), 6u) << line;
    tabbed.push_back({f[0], f[1], f[2], f[3], f[4], f[5]});
  }
  for (const std::string& line : Split(Written(ListFormat::kJson), "\n")) {
    if (line.empty()) continue;
    const nlohmann::json o = nlohmann::json::parse(line);
    json.push_back({o["disc"], o["folder"], o["name"], o["kind"], std::to_string(o["size"].get<std::int64_t>()),
                    o["modified"]});
  }
  EXPECT_EQ(tabbed, Expected());
  EXPECT_EQ(json, Expected());
}

TEST_F(ListWriterTest, CsvReadByPythonGivesTheHeaderAndTheRows) {
  if (!test::ToolPath("python3")) GTEST_SKIP() << "python3 is not installed";
  const std::string csv = Written(ListFormat::kCsv);
  EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBF" "disc,folder,name,kind,size,modified\r\n"));
  EXPECT_EQ(Split(csv, "\r\n").size(), std::size(kRows) + 2) << "CRLF after every row";
  test::WriteBytes(dir_ / "list.csv", csv);
  ASSERT_EQ(test::RunTool("python3", {"-c",
                                      "import csv, json, sys\n"
                                      "rows = list(csv.reader(open(sys.argv[1], encoding=\"utf-8-sig\", newline=\"\")))\n"
                                      "json.dump(rows, open(sys.argv[2], \"w\"))",
                                      test::ToolArgument(dir_ / "list.csv"), test::ToolArgument(dir_ / "rows.json")}),
            0);
  const auto rows = nlohmann::json::parse(test::ReadBytes(dir_ / "rows.json")).get<std::vector<std::vector<std::string>>>();
  ASSERT_EQ(rows.size(), std::size(kRows) + 1);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"disc", "folder", "name", "kind", "size", "modified"}));
  std::vector<TextRow> read;
  for (std::size_t i = 1; i < rows.size(); ++i)
    read.push_back({rows[i][0], rows[i][1], rows[i][2], rows[i][3], rows[i][4], rows[i][5]});
  EXPECT_EQ(read, Expected());
}

// The file list names each entry by its disc and its path below the drive;
// times are the FILETIME of the local time (here UTC+8 and a zone with
// summer time), read back to the same local time.
TEST_F(ListWriterTest, FileListReadBackGivesPathsSizesTimesAndKinds) {
  for (const char* zone : {"CST-8", "EST5EDT,M4.1.0,M10.5.0"}) {
    test::ScopedTimeZone scoped(zone);
    const std::string efu = Written(ListFormat::kEfu);
    EXPECT_TRUE(efu.starts_with("Filename,Size,Date Modified,Date Created,Attributes\r\n"));
    std::vector<EfuRow> rows;
    const EfuReadResult read = ReadEfu(efu, [&](EfuRow&& row) { rows.push_back(std::move(row)); });
    ASSERT_TRUE(read.ok()) << "line " << read.bad_line;
    ASSERT_EQ(rows.size(), std::size(kRows));
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const Row& r = kRows[i];
      const std::string folder = r.folder;
      EXPECT_EQ(GbkToUtf8(rows[i].filename), std::string(r.disc) + "\\" + folder.substr(3) + r.name);
      EXPECT_EQ(rows[i].size, r.is_file ? std::optional<std::int64_t>(r.size) : std::nullopt);
      EXPECT_EQ(rows[i].modified, EncodeDateTime(r.modified)) << zone << " " << i;
      EXPECT_EQ(rows[i].created, rows[i].modified);
      EXPECT_EQ(rows[i].IsFolder(), !r.is_file);
    }
  }
  test::ScopedTimeZone china("CST-8");
  // 2006-03-03 09:07:02 at UTC+8 is 01:07:02 UTC.
  EXPECT_NE(Written(ListFormat::kEfu).find("\\VTS_01_1.VOB\",1073741824,127858216220000000,"), std::string::npos);
}

// The page's rows are script arrays: nodes [name, parent, kind, memo] and
// entries [node, name, folder, bytes, size text, date text]; the nodes'
// names joined give the categories, the disc and the folder.
TEST_F(ListWriterTest, PageScriptArraysGiveTheTreeAndTheRows) {
  ListOptions options;
  options.title = Utf8ToGbk("查找 <b>&</b>");
  options.memo_of = [](std::string_view disc) {
    return disc == Utf8ToGbk("音乐\\CD 1") ? Utf8ToGbk("第一行nbsp</script>nbsp") : std::string();
  };
  const std::string page = Written(ListFormat::kHtml, options);
  EXPECT_NE(page.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(page.find("<title>查找 &lt;b&gt;&amp;&lt;/b&gt;</title>"), std::string::npos);
  nlohmann::json nodes = nlohmann::json::array(), entries = nlohmann::json::array();
  for (std::size_t at = 0; (at = page.find("<script>A(", at)) != std::string::npos;) {
    const std::size_t end = page.find(")</script>", at);
    ASSERT_NE(end, std::string::npos);
    const std::string text = page.substr(at + 10, end - at - 10);
    EXPECT_EQ(text.find('<'), std::string::npos) << "no </script> or <!-- can form in the data";
    const nlohmann::json piece = nlohmann::json::parse(text);
    for (const auto& n : piece[0]) nodes.push_back(n);
    for (const auto& e : piece[1]) entries.push_back(e);
    at = end;
  }
  auto path_of = [&](int node, bool folders) {
    std::string path;
    for (; node >= 0 && (nodes[node][2] == 2) == folders; node = nodes[node][1]) {
      const std::string name = nodes[node][0];
      path = folders ? name + path : name + (path.empty() ? "" : "\\" + path);
    }
    return std::pair(node, path);
  };
  std::vector<TextRow> read;
  for (const auto& e : entries) {
    const auto [disc_node, folder] = path_of(e[0], true);
    read.push_back({path_of(disc_node, false).second, folder, e[1], e[2] == 1 ? "folder" : "file",
                    std::to_string(e[3].get<std::int64_t>()), e[5]});
    EXPECT_EQ(e[4], FormatSize(e[3]));
  }
  EXPECT_EQ(read, Expected());
  for (const auto& n : nodes) {
    if (n[0] == "CD 1") {
      EXPECT_EQ(n[3], (nlohmann::json{"第一行", "</script>"}));
    }
  }
}

// The page's own script, run by node over a small stand-in for the page's
// elements: the top nodes are drawn closed, opening nodes down to a folder
// shows its entries with the window's texts and full paths, a disc shows its
// memo, and the filter lists matches with their disc.
TEST_F(ListWriterTest, PageScriptDrawsOpenedNodesAndFilters) {
  const std::optional<std::string> node = test::ToolPath("node");
  if (!node) GTEST_SKIP() << "node is not installed";
  ListOptions options;
  options.memo_of = [](std::string_view) { return Utf8ToGbk("备注nbsp"); };
  test::WriteBytes(dir_ / "list.html", Written(ListFormat::kHtml, options));
  test::WriteBytes(dir_ / "run.js", R"JS(
class El {
  constructor() { this.childNodes = []; this.text = ""; }
  appendChild(c) { this.childNodes.push(c); return c; }
  removeChild(c) { this.childNodes.splice(this.childNodes.indexOf(c), 1); }
  get lastChild() { return this.childNodes[this.childNodes.length - 1]; }
  get textContent() { return this.text + this.childNodes.map(c => c.textContent).join("|"); }
  set textContent(v) { this.text = String(v); this.childNodes = []; }
}
const ids = {tree: new El(), found: new El(), q: new El(), info: new El()};
ids.q.value = "";
Object.assign(globalThis, {document: {createElement: () => new El(), getElementById: i => ids[i]},
                           setTimeout: f => f(), clearTimeout: () => {}});
const page = require("fs").readFileSync(process.argv[2], "utf8");
for (const m of page.matchAll(/<script>([\s\S]*?)<\/script>/g)) require("vm").runInThisContext(m[1]);
const open = (box, label) => { const n = box.childNodes.find(n => n.childNodes[0]?.onclick && n.childNodes[0].text.endsWith(label));
                               n.childNodes[0].onclick(); return n.childNodes[1]; };
const out = [ids.info.textContent, ids.tree.childNodes.map(n => n.textContent).join(" ")];
const disc = open(open(ids.tree, "电影"), "动作");
const video = open(open(open(disc, "DVD_01"), "E:\\"), "VIDEO_TS");
out.push(video.childNodes.map(r => r.textContent).join(" / "), open(open(ids.tree, "音乐"), "CD 1").textContent);
ids.q.value = "晴天";
ids.q.oninput();
out.push(ids.info.textContent, ids.found.textContent);
console.log(out.join("\n"));
)JS");
  ASSERT_EQ(test::RunChild({{*node, test::ToolArgument(dir_ / "run.js"), test::ToolArgument(dir_ / "list.html")},
                            dir_ / "out.txt", {}}),
            0);
  EXPECT_EQ(Split(test::ReadBytes(dir_ / "out.txt"), "\n"),
            (std::vector<std::string>{
                "7 项", "▸ 电影 ▸ 音乐 ▸ 备份",
                "VTS_01_1.VOB|1,048,576 KB|2006-03-03 09:07:02|E:\\VIDEO_TS\\VTS_01_1.VOB / "
                "a,b\"c\".txt|1 KB|2006-03-03 09:07:02|E:\\VIDEO_TS\\a,b\"c\".txt",
                "备注|▸ E:\\", "找到 1 项，共 7 项",
                "晴天, \"live\" & more.mp3|1 KB|1999-12-31 23:59:59|E:\\晴天, \"live\" & more.mp3|音乐\\CD 1", ""}));
}

// A sink that fails makes every writer's Finish say so.
TEST_F(ListWriterTest, AFailingSinkIsReported) {
  for (const ListFormat format : {ListFormat::kTsv, ListFormat::kJson, ListFormat::kCsv, ListFormat::kEfu, ListFormat::kHtml}) {
    StringSink sink;
    sink.fail = true;
    const std::unique_ptr<ListWriter> writer = MakeListWriter(format, sink);
    writer->Write({"D", "E:\\", "a", true, 1, 0});
    EXPECT_FALSE(writer->Finish()) << static_cast<int>(format);
  }
}

}  // namespace
}  // namespace movra
