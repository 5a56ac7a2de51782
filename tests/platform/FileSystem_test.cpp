#include "platform/FileSystem.h"

#include <filesystem>
#include <gtest/gtest.h>

#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

using test::ModeOf;

TEST(WriteFileAtomicTest, WritesThroughALinkAndKeepsTheLinkAndTheMode) {
  MOVRA_SKIP_WITHOUT(kSymbolicLinks);
  MOVRA_SKIP_WITHOUT(kPosixModes);
  TempDir dir;
  WriteBytes(dir / "real.xml", "old");
  test::SetMode(dir / "real.xml", 0600);
  ASSERT_TRUE(test::MakeLink("real.xml", dir / "link.xml"));

  ASSERT_TRUE(Fs().WriteFileAtomic(dir / "link.xml", "new"));
  EXPECT_TRUE(test::IsLinkMode(ModeOf(dir / "link.xml")));
  EXPECT_EQ(ReadBytes(dir / "real.xml"), "new");
  EXPECT_EQ(ModeOf(dir / "real.xml") & 07777, 0600u);
  // No temporary file is left beside them.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(WriteFileAtomicTest, RefusesAFileTheUserMayNotWriteAndLeavesItAlone) {
  MOVRA_SKIP_WITHOUT(kPosixModes);
  TempDir dir;
  WriteBytes(dir / "Movra.xml", "old");
  test::SetMode(dir / "Movra.xml", 0444);
  test::SetMode(dir.path(), 0777);
  if (!test::RunningAsRoot()) {
    EXPECT_FALSE(Fs().WriteFileAtomic(dir / "Movra.xml", "new"));
  } else {
    // Root may write any file: the write is tried as an ordinary user.
    const int status = test::RunInChild([&] { return Fs().WriteFileAtomic(dir / "Movra.xml", "new") ? 1 : 0; }, true);
    EXPECT_EQ(status, 0) << "the write went through";
  }
  EXPECT_EQ(ReadBytes(dir / "Movra.xml"), "old");
  EXPECT_EQ(ModeOf(dir / "Movra.xml") & 07777, 0444u);
}

TEST(WriteFileAtomicTest, RefusesAReadOnlyFileAndLeavesItAlone) {
  MOVRA_SKIP_WITHOUT(kReadOnlyFlag);
  TempDir dir;
  WriteBytes(dir / "Movra.xml", "old");
  ASSERT_TRUE(test::SetReadOnly(dir / "Movra.xml", true));
  EXPECT_FALSE(Fs().WriteFileAtomic(dir / "Movra.xml", "new"));
  EXPECT_EQ(Fs().CreateFileAtomic(dir / "Movra.xml"), nullptr);
  EXPECT_EQ(ReadBytes(dir / "Movra.xml"), "old");
  EXPECT_TRUE(test::SetReadOnly(dir / "Movra.xml", false));  // so that the folder can go
}

// A file written in pieces replaces the target only when committed; one
// dropped before leaves the target and no temporary file.
TEST(CreateFileAtomicTest, PiecesReplaceTheTargetOnlyAtCommit) {
  TempDir dir;
  WriteBytes(dir / "list.csv", "old");
  auto files = [&] { return std::distance(std::filesystem::directory_iterator(dir.path()), {}); };
  {
    const std::unique_ptr<AtomicFile> dropped = Fs().CreateFileAtomic(dir / "list.csv");
    ASSERT_NE(dropped, nullptr);
    ASSERT_TRUE(dropped->Write("half a "));
    EXPECT_EQ(ReadBytes(dir / "list.csv"), "old");
  }
  EXPECT_EQ(ReadBytes(dir / "list.csv"), "old");
  EXPECT_EQ(files(), 1);
  const std::unique_ptr<AtomicFile> file = Fs().CreateFileAtomic(dir / "list.csv");
  ASSERT_NE(file, nullptr);
  ASSERT_TRUE(file->Write("new "));
  ASSERT_TRUE(file->Write("list"));
  ASSERT_TRUE(file->Commit());
  EXPECT_FALSE(file->Commit());
  EXPECT_EQ(ReadBytes(dir / "list.csv"), "new list");
  EXPECT_EQ(files(), 1);
}

TEST(CreateFileAtomicTest, RefusesATargetThatCannotBeWritten) {
  TempDir dir;
  std::filesystem::create_directory(dir / "folder");
  for (const std::string& path : {dir / "folder", dir / "missing/list.csv"})
    EXPECT_EQ(Fs().CreateFileAtomic(path), nullptr) << path;
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// One storage serves files that grow and shrink from one read to the next;
// the content starts at a 64-byte boundary, and ReadFile gives the same bytes.
TEST(ReadFileIntoTest, ReusesItsStorageForFilesOfAnySize) {
  TempDir dir;
  std::string storage;
  for (const size_t size : {size_t{0}, size_t{70000}, size_t{1}, size_t{200000}, size_t{10}}) {
    std::string content(size, '\0');
    for (size_t i = 0; i < size; ++i) content[i] = static_cast<char>(i * 7 + size);
    const std::string path = dir / ("f" + std::to_string(size));
    WriteBytes(path, content);
    const std::optional<std::string_view> read = Fs().ReadFileInto(path, storage);
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, content);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(read->data()) % 64, 0u);
    EXPECT_EQ(Fs().ReadFile(path), content);
  }
  EXPECT_FALSE(Fs().ReadFileInto(dir / "missing", storage));
  EXPECT_FALSE(Fs().ReadFileInto(dir.path(), storage));
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

TEST(NativeNameFitsTest, AFileNameHoldsTwoHundredAndFiftyFiveCharacters) {
  EXPECT_TRUE(NativeNameFits(std::string(251, 'n') + ".cdg"));
  EXPECT_FALSE(NativeNameFits(std::string(252, 'n') + ".cdg"));
  EXPECT_TRUE(NativeNameFits("a.cdg"));
}

}  // namespace
}  // namespace movra
