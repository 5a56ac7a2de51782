#include "platform/FileSystem.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
  TempDir dir;
  WriteBytes(dir / "Movra.xml", "old");
  ::chmod((dir / "Movra.xml").c_str(), 0444);
  ::chmod(dir.path().c_str(), 0777);
  if (::geteuid() != 0) {
    EXPECT_FALSE(Fs().WriteFileAtomic(dir / "Movra.xml", "new"));
  } else {
    // Root may write any file: the write is tried as an ordinary user.
    const pid_t child = ::fork();
    if (child == 0) {
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
      ::_exit(Fs().WriteFileAtomic(dir / "Movra.xml", "new") ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write went through";
  }
  EXPECT_EQ(ReadBytes(dir / "Movra.xml"), "old");
  EXPECT_EQ(ModeOf(dir / "Movra.xml") & 07777, 0444u);
}

}  // namespace
}  // namespace movra
