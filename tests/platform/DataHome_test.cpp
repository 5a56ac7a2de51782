#include "platform/DataHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/TextCodec.h"
#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

class DataHomeTest : public ::testing::Test {
 protected:
  DataHomeSources Sources() const {
    DataHomeSources sources;
    sources.program_folder = program_.path();
    sources.user_home = user_.path();
    return sources;
  }
  test::TempDir program_;
  test::TempDir user_;
};

TEST_F(DataHomeTest, ProgramFolderIsPortableOnlyWhenItAlreadyHoldsTheFiles) {
  // A bare program folder: installed mode in ~/.local/share/movra, created with its data folder.
  DataHomeResult result = LocateDataHome(Sources());
  ASSERT_TRUE(result.home);
  EXPECT_FALSE(result.home->portable);
  EXPECT_EQ(result.home->catalogue, fs::path(user_.path()) / ".local/share/movra/Movra.xml");
  EXPECT_TRUE(fs::is_directory(fs::path(user_.path()) / ".local/share/movra/CDROM"));

  for (const char* marker : {"portable", "Movra.xml", "CDROM/"}) {
    test::TempDir program;
    if (std::string(marker).back() == '/') {
      fs::create_directories(program / marker);
    } else {
      test::WriteBytes(program / marker, "");
    }
    DataHomeSources sources = Sources();
    sources.program_folder = program.path();
    result = LocateDataHome(sources);
    ASSERT_TRUE(result.home) << marker;
    EXPECT_TRUE(result.home->portable) << marker;
    // The catalogue is read from the current folder; backup and snapshots beside the executable.
    EXPECT_EQ(result.home->catalogue, fs::path("Movra.xml"));
    EXPECT_EQ(result.home->backup, fs::path(program.path()) / "Movra.xml.backup");
    EXPECT_TRUE(fs::is_directory(fs::path(program.path()) / "CDROM")) << marker;
  }
}

TEST_F(DataHomeTest, OtherFilesDoNotMakeTheProgramFolderPortable) {
  // Near misses of the markers: a file named like the data folder, a backup alone, other names.
  for (const char* name : {"CDROM", "Movra.xml.backup", "portable.txt", "CDROM.lnk"}) {
    test::TempDir program;
    test::WriteBytes(program / name, "");
    DataHomeSources sources = Sources();
    sources.program_folder = program.path();
    const DataHomeResult result = LocateDataHome(sources);
    ASSERT_TRUE(result.home) << name;
    EXPECT_FALSE(result.home->portable) << name;
  }
}

TEST_F(DataHomeTest, OptionBeatsEnvironmentWhichBeatsPortableAndXdg) {
  test::WriteBytes(program_ / "portable", "");
  DataHomeSources sources = Sources();
  sources.xdg_data_home = user_ / "xdg";
  sources.movra_home = user_ / "env";
  EXPECT_EQ(LocateDataHome(sources).home->folder, fs::path(user_ / "env"));
  sources.home_option = user_ / "option";
  EXPECT_EQ(LocateDataHome(sources).home->folder, fs::path(user_ / "option"));
  EXPECT_EQ(LocateDataHome(sources).home->catalogue, fs::path(user_ / "option/Movra.xml"));

  fs::remove(program_ / "portable");
  sources.home_option.reset();
  sources.movra_home.reset();
  EXPECT_EQ(LocateDataHome(sources).home->folder, fs::path(user_ / "xdg/movra"));
  sources.xdg_data_home = "relative/xdg";  // not absolute: ignored
  EXPECT_EQ(LocateDataHome(sources).home->folder, fs::path(user_ / ".local/share/movra"));
}

TEST_F(DataHomeTest, HomeOrDataFolderThatCannotBeMadeGivesAMessage) {
  // A file where a folder should be stops even root.
  test::WriteBytes(user_ / "file", "");
  DataHomeSources sources = Sources();
  sources.home_option = user_ / "file/inner";
  DataHomeResult result = LocateDataHome(sources);
  EXPECT_FALSE(result.home);
  EXPECT_NE(result.error.find(user_ / "file/inner"), std::string::npos);
  EXPECT_FALSE(EnsureDataFolder(user_ / "file/CDROM").empty());
  sources.home_option = user_ / "file";
  EXPECT_FALSE(LocateDataHome(sources).home);

  // Root writes anywhere; without modes no folder is made read-only this way.
  if (test::RunningAsRoot() || test::WhyMissing(test::Need::kPosixModes)) return;
  fs::create_directories(user_ / "locked");
  test::SetMode(user_ / "locked", 0500);
  sources.home_option = user_ / "locked";
  result = LocateDataHome(sources);
  test::SetMode(user_ / "locked", 0700);
  EXPECT_FALSE(result.home);
  // A portable-looking folder that is not writable is not portable.
  test::WriteBytes(program_ / "portable", "");
  test::SetMode(program_.path(), 0500);
  result = LocateDataHome(Sources());
  test::SetMode(program_.path(), 0700);
  ASSERT_TRUE(result.home);
  EXPECT_FALSE(result.home->portable);
}

TEST_F(DataHomeTest, AppDataFolderBeatsXdgButNotPortableTheEnvironmentOrTheOption) {
  struct Row {
    const char* marker;      // file making the program folder portable, or null
    const char* movra_home;  // MOVRA_HOME below user_, or null
    const char* option;      // --home below user_, or null
    const char* expected;    // the home folder below user_; null: the program folder (portable)
  };
  const Row rows[] = {
      {nullptr, nullptr, nullptr, "app/Movra"},
      {"portable", nullptr, nullptr, nullptr},
      {"Movra.xml", "env", nullptr, "env"},
      {nullptr, "env", "option", "option"},
  };
  for (const Row& row : rows) {
    test::TempDir program;
    if (row.marker) test::WriteBytes(program / row.marker, "");
    DataHomeSources sources = Sources();
    sources.program_folder = program.path();
    sources.xdg_data_home = user_ / "xdg";
    sources.app_data = test::PathOf(user_ / "app");
    if (row.movra_home) sources.movra_home = user_ / row.movra_home;
    if (row.option) sources.home_option = test::PathOf(user_ / row.option);
    const DataHomeResult result = LocateDataHome(sources);
    ASSERT_TRUE(result.home) << row.expected;
    const fs::path expected = test::PathOf(row.expected ? user_ / row.expected : program.path());
    EXPECT_EQ(result.home->folder, expected);
    EXPECT_EQ(result.home->portable, row.expected == nullptr);
    EXPECT_TRUE(fs::is_directory(expected / "CDROM"));
  }
}

TEST_F(DataHomeTest, HomeFromTheEnvironmentKeepsNamesOutsideTheAnsiCodePage) {
  // Chinese and a Greek letter: neither survives a narrow Western code page.
  const std::string name = "\xE6\x95\xB0\xE6\x8D\xAE\xCE\xA9";
  test::SetEnvironment("MOVRA_HOME", (user_ / name).c_str());
  DataHomeSources sources = SourcesFromEnvironment(std::nullopt);
  sources.program_folder = program_.path();
  const DataHomeResult result = LocateDataHome(sources);
  test::SetEnvironment("MOVRA_HOME", nullptr);
  ASSERT_TRUE(result.home);
  EXPECT_EQ(result.home->folder, test::PathOf(user_ / name));
  EXPECT_TRUE(test::PathExists(user_ / (name + "/CDROM")));
  EXPECT_EQ(SnapshotFileIn(result.home->data_folder, Utf8ToGbk("\xE7\x94\xB5\xE5\xBD\xB1")),
            test::PathOf(user_ / (name + "/CDROM/\xE7\x94\xB5\xE5\xBD\xB1.cdg")));
}

TEST_F(DataHomeTest, InstalledHomeIsInTheAppDataFolderTheEnvironmentNames) {
  MOVRA_SKIP_WITHOUT(kAppDataFolder);
  const std::string name = "\xE6\x95\xB0\xE6\x8D\xAE\xCE\xA9";
  const char* saved = std::getenv("APPDATA");
  const std::string app_data = saved ? saved : "";
  test::SetEnvironment("APPDATA", (user_ / name).c_str());
  DataHomeSources sources = SourcesFromEnvironment(std::nullopt);
  test::SetEnvironment("APPDATA", saved ? app_data.c_str() : nullptr);
  sources.program_folder = program_.path();
  const DataHomeResult result = LocateDataHome(sources);
  ASSERT_TRUE(result.home);
  EXPECT_EQ(result.home->folder, test::PathOf(user_ / (name + "/Movra")));
}

}  // namespace
}  // namespace movra
