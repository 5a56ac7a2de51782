// Edits under the home's lock: the catalogue is read again when another
// program changed it, never when only its stamp moved, and a home kept locked
// by another writer refuses the edit with nothing changed.
#include "workflows/CatalogueEdit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/TextCodec.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using namespace std::chrono_literals;

class CatalogueEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteBytes(file_, "<root><CDLIST><T_A/></CDLIST></root>");
    ASSERT_TRUE(doc_.Open(file_));
    home_.file = LockFileOf(file_);
    home_.wait = 20ms;
    home_.reloaded = [this] { ++reloads_; };
  }
  // Another program adds a main category and saves.
  void OtherWriterAdds(const char* category) {
    CatalogueDocument other;
    ASSERT_TRUE(other.Open(file_));
    other.GetOrAddChild(other.CdList(), std::string("T_") + category);
    ASSERT_EQ(other.Save(), SaveResult::kSaved);
  }
  bool Has(const char* category) { return bool(doc_.ResolvePath(std::string(category) + "\\", false)); }

  test::TempDir dir_;
  std::string file_ = dir_ / "Movra.xml";
  CatalogueDocument doc_;
  HomeLock home_;
  int reloads_ = 0;
  Workspace work_{doc_, std::filesystem::path(dir_.path()) / "CDROM", nullptr, &home_};
};

TEST_F(CatalogueEditTest, AnEditReadsWhatAnotherProgramWroteAndOnlyThen) {
  {
    const CatalogueEdit edit = CatalogueEdit::Begin(work_);
    ASSERT_TRUE(edit.ok());
    EXPECT_FALSE(edit.reloaded());
  }
  OtherWriterAdds("B");
  const CatalogueEdit edit = CatalogueEdit::Begin(work_);
  ASSERT_TRUE(edit.ok());
  EXPECT_TRUE(edit.reloaded());
  EXPECT_EQ(reloads_, 1);
  EXPECT_TRUE(Has("A"));
  EXPECT_TRUE(Has("B"));
}

TEST_F(CatalogueEditTest, OwnSavesAndRewritesOfTheSameBytesAreNoChange) {
  doc_.GetOrAddChild(doc_.CdList(), "T_C");
  ASSERT_EQ(doc_.Save(), SaveResult::kSaved);
  EXPECT_FALSE(CatalogueEdit::Begin(work_).reloaded());
  // Copied over with the bytes it has: a new file, the same catalogue.
  const std::string bytes = test::ReadBytes(file_);
  std::filesystem::remove(file_);
  test::WriteBytes(file_, bytes);
  EXPECT_FALSE(CatalogueEdit::Begin(work_).reloaded());
  // Removed: read again (a new, empty catalogue).
  std::filesystem::remove(file_);
  EXPECT_TRUE(CatalogueEdit::Begin(work_).reloaded());
  EXPECT_FALSE(Has("C"));
}

TEST_F(CatalogueEditTest, AHomeLockedByAnotherWriterRefusesTheEdit) {
  FileLock other = FileLock::Acquire(home_.file, 0ms);
  ASSERT_TRUE(other.held());
  OtherWriterAdds("B");
  const CatalogueEdit edit = CatalogueEdit::Begin(work_);
  EXPECT_EQ(edit.result().outcome, Outcome::kBusy);
  EXPECT_EQ(edit.result().message, Utf8ToGbk("光盘目录正被另一个程序修改，请稍后再试！"));
  // Not even read again: the holder may be half-way through its write.
  EXPECT_FALSE(Has("B"));
  other.Release();
  EXPECT_TRUE(CatalogueEdit::Begin(work_).ok());
}

TEST_F(CatalogueEditTest, AHomeWithoutLocksGoesOnAndSaysSoOnce) {
  home_.file = dir_ / "no such folder/Movra.xml.lock";
  const CatalogueEdit first = CatalogueEdit::Begin(work_);
  EXPECT_TRUE(first.ok());
  EXPECT_FALSE(first.warning().empty());
  const CatalogueEdit second = CatalogueEdit::Begin(work_);
  EXPECT_TRUE(second.ok());
  EXPECT_TRUE(second.warning().empty());
}

}  // namespace
}  // namespace movra
