#include "platform/Directory.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

#include "platform/Console.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using test::TempDir;
using test::WriteBytes;
using namespace std::string_literals;

// A folder holding one entry of each kind a scan meets.
class DirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(dir_ / "file.txt", "12345");
    WriteBytes(dir_ / "sub/inner", "");
    MOVRA_SKIP_WITHOUT(kSymbolicLinks);
    ASSERT_TRUE(test::MakeLink("file.txt", dir_ / "to-file"));
    ASSERT_TRUE(test::MakeLink("sub", dir_ / "to-sub"));
    ASSERT_TRUE(test::MakeLink("missing", dir_ / "dangling"));
  }

  std::map<std::string, DirectoryEntry> Read(bool with_status) {
    std::optional<Directory> dir = Directory::Open(dir_.path());
    EXPECT_TRUE(dir);
    std::map<std::string, DirectoryEntry> entries;
    DirectoryEntry e;
    while (dir && dir->Next(e, with_status)) entries[std::string(e.name, e.length)] = e;
    return entries;
  }

  TempDir dir_;
};

TEST_F(DirectoryTest, EntriesWithStatusFollowLinksAndKeepTheLinkOfAMissingTarget) {
  struct Case {
    const char* name;
    EntryKind kind;
    bool link;
    EntryStatus status;
    std::int64_t size;
  };
  const Case cases[] = {
      {"file.txt", EntryKind::kFile, false, EntryStatus::kTarget, 5},
      {"sub", EntryKind::kFolder, false, EntryStatus::kTarget, 0},
      {"to-file", EntryKind::kFile, true, EntryStatus::kTarget, 5},
      {"to-sub", EntryKind::kFolder, true, EntryStatus::kTarget, 0},
      {"dangling", EntryKind::kOther, true, EntryStatus::kLinkOnly, 0},
  };
  const auto entries = Read(true);
  ASSERT_EQ(entries.size(), std::size(cases));  // "." and ".." are left out
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DirectoryEntry& e = entries.at(c.name);
    EXPECT_EQ(e.kind, c.kind);
    EXPECT_EQ(e.link, c.link);
    EXPECT_EQ(e.status, c.status);
    EXPECT_EQ(e.size, c.size);
    EXPECT_GT(e.modified, 0);
  }
  EXPECT_EQ(entries.at("to-sub").id, entries.at("sub").id);
  EXPECT_EQ(Read(false).at("file.txt").status, EntryStatus::kNone);
}

TEST_F(DirectoryTest, OpenChildEntersAFolderButNotALinkToOne) {
  std::optional<Directory> dir = Directory::Open(dir_.path());
  ASSERT_TRUE(dir);
  std::optional<Directory> sub = dir->OpenChild("sub");
  ASSERT_TRUE(sub);
  EXPECT_EQ(sub->Id(), FileIdOf(dir_ / "sub"));
  EXPECT_FALSE(dir->OpenChild("to-sub"));
  EXPECT_FALSE(dir->OpenChild("file.txt"));
  EXPECT_FALSE(Directory::Open(dir_ / "missing"));
}

TEST(FileReaderTest, ReadsAtAnOffsetAndRefusesAReadPastTheEnd) {
  TempDir dir;
  WriteBytes(dir / "image", "0123456789");
  std::optional<FileReader> file = FileReader::Open(dir / "image");
  ASSERT_TRUE(file);
  char bytes[4] = {};
  ASSERT_TRUE(file->ReadAt(6, bytes, 4));
  EXPECT_EQ(std::string(bytes, 4), "6789");
  EXPECT_FALSE(file->ReadAt(8, bytes, 4));
  EXPECT_FALSE(FileReader::Open(dir / "missing"));
}

TEST(CharsetToUtf8StrictTest, ConvertsNamedSetsAndRefusesBadInput) {
  const struct {
    std::string bytes;
    const char* charset;
    std::optional<std::string> utf8;
  } cases[] = {
      {"\xFF\xFE" "A\0\x2D\x4E"s, "UTF-16", "A\xE4\xB8\xAD"},
      {"\xFE\xFF\0A"s, "UTF-16", "A"},
      {"\xFF\xFE" "A", "UTF-16", std::nullopt},  // cut short
      {"\xE9t\xE9", "ISO-8859-1", "\xC3\xA9t\xC3\xA9"},
      {"abc", "no-such-charset", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.charset);
    EXPECT_EQ(CharsetToUtf8Strict(c.bytes, c.charset), c.utf8);
  }
}

TEST(CharsetToUtf8StrictTest, ConvertsGb18030FourByteSequences) {
  MOVRA_SKIP_WITHOUT(kGb18030);
  EXPECT_EQ(CharsetToUtf8Strict("\x94\x39\xFC\x36", "GB18030"), "\xF0\x9F\x98\x80");
}

TEST(ConsoleTest, AnInterruptOnlyRaisesTheFlag) {
  CatchInterrupt();
  if (!test::SendInterrupt()) GTEST_SKIP() << "no console here to send Ctrl+C through";
  EXPECT_TRUE(Interrupted());
}

}  // namespace
}  // namespace movra
