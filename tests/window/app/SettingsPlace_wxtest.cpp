#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "platform/DataHome.h"
#include "window/app/WindowSettings.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

struct PlaceCase {
  const char* name;
  SettingsPlace place;
  DataHome home;
  std::string config_folder;
  fs::path expected;
};

TEST(SettingsPlaceTest, TheSettingsFileFollowsTheSystemsPlace) {
  const fs::path program = fs::path("prog") / "Movra";
  const fs::path installed = fs::path("users") / "ann" / "AppData" / "Roaming" / "Movra";
  const fs::path config = fs::path("home") / "ann" / ".config";
  const PlaceCase cases[] = {
      // A portable copy keeps its own settings beside the program.
      {"portable", SettingsPlace::kDataHome, PortableHome(program), "", program / "movra.ini"},
      {"installed", SettingsPlace::kDataHome, HomeIn(installed), "", installed / "movra.ini"},
      // The data home place ignores a configuration folder.
      {"data home wins", SettingsPlace::kDataHome, HomeIn(installed), FsPathOf(config), installed / "movra.ini"},
      {"config folder", SettingsPlace::kUserConfigFolder, PortableHome(program), FsPathOf(config),
       config / "movra" / "movra.ini"},
      // No configuration folder known: the settings stay with the data.
      {"config folder unknown", SettingsPlace::kUserConfigFolder, HomeIn(installed), "", installed / "movra.ini"},
  };
  for (const PlaceCase& c : cases) {
    EXPECT_EQ(SettingsFileFor(c.place, c.home, c.config_folder), FsPathOf(c.expected)) << c.name;
  }
}

}  // namespace
}  // namespace movra
