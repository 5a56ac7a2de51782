#include "platform/FileSystem.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/TempDir.h"

namespace movra {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

mode_t ModeOf(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 ? st.st_mode : 0;
}

TEST(WriteFileAtomicTest, WritesThroughALinkAndKeepsTheLinkAndTheMode) {
  TempDir dir;
  WriteBytes(dir / "real.xml", "old");
  ::chmod((dir / "real.xml").c_str(), 0600);
  ASSERT_EQ(::symlink("real.xml", (dir / "link.xml").c_str()), 0);

  ASSERT_TRUE(Fs().WriteFileAtomic(dir / "link.xml", "new"));
  EXPECT_TRUE(S_ISLNK(ModeOf(dir / "link.xml")));
  EXPECT_EQ(ReadBytes(dir / "real.xml"), "new");
  EXPECT_EQ(ModeOf(dir / "real.xml") & 07777, 0600u);
  // No temporary file is left beside them.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(WriteFileAtomicTest, RefusesAFileTheUserMayNotWriteAndLeavesItAlone) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
  TempDir dir;
  WriteBytes(dir / "Movra.xml", "old");
  ::chmod((dir / "Movra.xml").c_str(), 0444);
  EXPECT_FALSE(Fs().WriteFileAtomic(dir / "Movra.xml", "new"));
  EXPECT_EQ(ReadBytes(dir / "Movra.xml"), "old");
  EXPECT_EQ(ModeOf(dir / "Movra.xml") & 07777, 0444u);
}

}  // namespace
}  // namespace movra
