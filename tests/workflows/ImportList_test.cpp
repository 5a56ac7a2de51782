// File lists read back as snapshots: drives kept, the shared catalogue path
// taken off, folders a list leaves out filed, bad lines refused by number.
#include "workflows/ImportList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TextCodec.h"

namespace movra {
namespace {

// Every entry of an index as "key|name|kind|size", greatest key first.
std::vector<std::string> Entries(const SnapshotIndex& index) {
  std::vector<std::string> lines;
  for (const SnapshotEntryView e : index)
    lines.push_back(GbkToUtf8(std::string(e.key) + "|" + std::string(e.name)) + (e.isFile ? "|file|" : "|folder|") +
                    std::to_string(e.size));
  return lines;
}

constexpr const char* kHeader = "Filename,Size,Date Modified,Date Created,Attributes\r\n";

TEST(ReadFileListTest, RowsBecomeTheEntriesOfADisc) {
  struct Case {
    const char* what;
    std::string rows;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {"a drive's list: paths kept, missing folders filed, a bar in a name recorded as on a scan",
       "\"C:\\Data\\Sub\\a|b.txt\",3,,,32\r\nC:\\Data\\x.txt,1,,,32\r\n",
       {"C:\\Data\\Sub\\|a_b.txt|file|3", "C:\\Data\\|Sub|folder|0", "C:\\Data\\|x.txt|file|1"}},
      {"a list of catalogued discs: the shared catalogue path goes, the rest is below the root",
       "电影\\DVD_01\\VIDEO_TS,,,,16\r\n电影\\DVD_01\\VIDEO_TS\\a.vob,5,,,0\r\n电影\\DVD_01\\说明.txt,2,,,0\r\n",
       {"E:\\VIDEO_TS\\|a.vob|file|5", "E:\\|VIDEO_TS|folder|0", "E:\\|说明.txt|file|2"}},
      {"the program's own CSV list",
       "\xEF\xBB\xBF" "disc,folder,name,kind,size,modified\r\nA\\D,Z:\\p\\q\\,\"x,y\",file,7,2006-03-03 09:07:02\r\n",
       {"Z:\\p\\q\\|x,y|file|7"}},
  };
  for (const Case& c : cases) {
    SnapshotIndex index;
    const std::string text = c.rows.starts_with("\xEF\xBB\xBF") ? c.rows : kHeader + c.rows;
    const WorkflowResult read = ReadFileList(text, "E:\\", index);
    EXPECT_TRUE(read.ok()) << c.what << ": " << GbkToUtf8(read.message);
    EXPECT_EQ(Entries(index), c.entries) << c.what;
  }
}

TEST(ReadFileListTest, AListThatDoesNotReadFilesNothing) {
  const std::pair<std::string, std::string> cases[] = {
      {std::string(kHeader) + "a.txt,1,,,0\r\n\"b.txt,2,,,0\r\n", "文件列表第 3 行无法识别，没有导入任何内容！"},
      {std::string(kHeader) + "a.txt,x,,,0\r\n", "文件列表第 2 行无法识别，没有导入任何内容！"},
      {"Name,Size\r\n", "文件列表第 1 行无法识别，没有导入任何内容！"},
      {kHeader, "文件列表中没有任何文件或文件夹！"},
      {std::string(kHeader) + "C:\\" + std::string(300, 'a') + "\\b.txt,1,,,0\r\n",
       "文件列表中的路径太长，无法记录：C:\\" + std::string(300, 'a') + "\\b.txt"},
  };
  for (const auto& [text, message] : cases) {
    SnapshotIndex index;
    const WorkflowResult read = ReadFileList(text, "E:\\", index);
    EXPECT_FALSE(read.ok());
    EXPECT_EQ(GbkToUtf8(read.message), message);
    EXPECT_TRUE(index.Empty());
  }
}

}  // namespace
}  // namespace movra
