#include "platform/DataHome.h"

#include <system_error>

#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "snapshot/SnapshotName.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCatalogueName = "Movra.xml";
constexpr const char* kDataFolderName = "CDROM";

bool Writable(const fs::path& folder) { return IsWritableFolder(FsPathOf(folder)); }

bool IsPortableFolder(const fs::path& folder) {
  std::error_code error;
  if (!Writable(folder)) return false;
  return fs::exists(folder / kCatalogueName, error) || fs::is_directory(folder / kDataFolderName, error) ||
         fs::exists(folder / "portable", error);
}

// The message for a home that cannot be used.
std::string HomeError(const fs::path& folder) {
  return Utf8ToGbk("无法创建或写入数据文件夹（") + NativeNameToGbk(FsPathOf(folder)) + Utf8ToGbk("），请检查权限！");
}

}  // namespace

DataHomeSources SourcesFromEnvironment(std::optional<fs::path> home_option) {
  DataHomeSources sources;
  sources.program_folder = ProgramFolder();
  sources.home_option = std::move(home_option);
  sources.movra_home = EnvironmentVariable("MOVRA_HOME");
  sources.xdg_data_home = EnvironmentVariable("XDG_DATA_HOME");
  sources.user_home = EnvironmentVariable("HOME");
  sources.app_data = UserAppDataFolder();
  return sources;
}

DataHome PortableHome(const fs::path& folder) {
  return DataHome{folder, kCatalogueName, folder / (std::string(kCatalogueName) + ".backup"),
                  folder / kDataFolderName, true};
}

DataHome HomeIn(const fs::path& folder) {
  return DataHome{folder, folder / kCatalogueName, folder / (std::string(kCatalogueName) + ".backup"),
                  folder / kDataFolderName, false};
}

DataHomeResult LocateDataHome(const DataHomeSources& sources) {
  std::optional<fs::path> chosen = sources.home_option;
  if (!chosen && sources.movra_home) chosen = NativeOfFsPath(*sources.movra_home);
  if (!chosen && IsPortableFolder(sources.program_folder)) {
    DataHome home = PortableHome(sources.program_folder);
    if (std::string error = EnsureDataFolder(home.data_folder); !error.empty()) return {std::nullopt, error};
    return {home, {}};
  }
  if (!chosen) {
    // The system's folder for users' program files first; XDG_DATA_HOME counts only when absolute.
    if (sources.app_data) {
      chosen = *sources.app_data / "Movra";
    } else if (sources.xdg_data_home && NativeOfFsPath(*sources.xdg_data_home).is_absolute()) {
      chosen = NativeOfFsPath(*sources.xdg_data_home) / "movra";
    } else if (sources.user_home) {
      chosen = NativeOfFsPath(*sources.user_home) / ".local" / "share" / "movra";
    } else {
      return {std::nullopt, HomeError("~/.local/share/movra")};
    }
  }
  std::error_code error;
  const fs::path folder = fs::absolute(*chosen, error);
  if (error) return {std::nullopt, HomeError(*chosen)};
  fs::create_directories(folder, error);
  if (!fs::is_directory(folder, error) || !Writable(folder)) return {std::nullopt, HomeError(folder)};
  DataHome home = HomeIn(folder);
  if (std::string message = EnsureDataFolder(home.data_folder); !message.empty()) return {std::nullopt, message};
  return {home, {}};
}

std::string EnsureDataFolder(const fs::path& data_folder) {
  std::error_code error;
  if (fs::is_directory(data_folder, error)) return {};
  fs::create_directories(data_folder, error);
  if (fs::is_directory(data_folder, error)) return {};
  return Utf8ToGbk("无法创建光盘快照文件夹（") + NativeNameToGbk(FsPathOf(data_folder)) + Utf8ToGbk("）！");
}

// Through UTF-8 explicitly: a narrow path is read in the ANSI code page on some systems.
std::string FsPathOf(const fs::path& native) {
  const std::u8string utf8 = native.u8string();
  return std::string(utf8.begin(), utf8.end());
}

fs::path NativeOfFsPath(const std::string& fs_path) { return fs::path(std::u8string(fs_path.begin(), fs_path.end())); }

fs::path SnapshotFileIn(const fs::path& data_folder, std::string_view disc_name) {
  return data_folder / NativeOfFsPath(GbkToUtf8(SnapshotFileName(disc_name)));
}

}  // namespace movra
