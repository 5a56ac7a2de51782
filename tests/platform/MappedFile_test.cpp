#include "platform/MappedFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/FileStamp.h"
#include "support/TempDir.h"

namespace movra {
namespace {

// What the seams give for the kinds of path there are: a file (bytes with a
// zero and a 0x1A), an empty file, a folder, nothing.
TEST(MappedFileTest, OpensRegularFilesOnly) {
  test::TempDir dir;
  const std::string bytes("E:\\a.txt[1]\r\n\0\x1A\xB5\xE7", 17);
  test::WriteBytes(dir / "f.cdg", bytes);
  test::WriteBytes(dir / "empty", "");
  const struct {
    std::string path;
    bool stamp, readable, mapped;
  } cases[] = {
      {dir / "f.cdg", true, true, true},
      {dir / "empty", true, true, false},
      {dir.path(), false, false, false},
      {dir / "none", false, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(StampOfFile(c.path).has_value(), c.stamp);
    EXPECT_EQ(ReadOnlyFile::Open(c.path).has_value(), c.readable);
    std::optional<MappedFile> map = MappedFile::Open(c.path);
    ASSERT_EQ(map.has_value(), c.mapped);
    if (!map) continue;
    const MappedFile moved = std::move(*map);  // the bytes stay where they are
    EXPECT_EQ(moved.Bytes(), bytes);
    EXPECT_EQ(moved.Stamp(), *StampOfFile(c.path));
  }
}

// Reads at an offset give the bytes there, and fail rather than come short.
TEST(MappedFileTest, ReadsAtOffsetsWhollyOrNotAtAll) {
  test::TempDir dir;
  test::WriteBytes(dir / "f", "0123456789");
  const std::optional<ReadOnlyFile> file = ReadOnlyFile::Open(dir / "f");
  ASSERT_TRUE(file);
  file->AccessRandomly();
  file->WillNeed(0, 10);
  char out[10] = {};
  EXPECT_TRUE(file->ReadAt(3, out, 4));
  EXPECT_EQ(std::string(out, 4), "3456");
  EXPECT_TRUE(file->ReadAt(0, out, 0));
  EXPECT_FALSE(file->ReadAt(8, out, 3));
  EXPECT_FALSE(file->ReadAt(20, out, 1));
  file->DropFromCache();
  EXPECT_TRUE(file->ReadAt(9, out, 1));
  EXPECT_EQ(out[0], '9');
}

// A file replaced by another of the same size, or rewritten in place, no
// longer has the stamp taken before; the open file is still the old one.
TEST(MappedFileTest, AReplacedOrRewrittenFileGetsANewStamp) {
  test::TempDir dir;
  const std::string path = dir / "f";
  test::WriteBytes(path, "old");
  const FileStamp first = *StampOfFile(path);
  const std::optional<ReadOnlyFile> open = ReadOnlyFile::Open(path);
  EXPECT_EQ(first.size, 3u);
  EXPECT_EQ(StampOfFile(path), first);
  // Replaced as a save replaces it (a rename over it, which the C library's rename refuses on Windows).
  ASSERT_TRUE(Fs().WriteFileAtomic(path, "new"));
  EXPECT_NE(StampOfFile(path), first);
  EXPECT_EQ(open->Stamp()->file_id, first.file_id);
  const FileStamp replaced = *StampOfFile(path);
  std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
  EXPECT_NE(StampOfFile(path), replaced);
}

}  // namespace
}  // namespace movra
