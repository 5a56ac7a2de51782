#include "platform/DataHome.h"

#include <cstdlib>
#include <system_error>

#include "platform/FileSystem.h"
#include "snapshot/SnapshotName.h"
#include "platform/TextCodec.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCatalogueName = "Movra.xml";
constexpr const char* kDataFolderName = "CDROM";

std::optional<std::string> Env(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

bool Writable(const fs::path& folder) { return IsWritableFolder(folder.string()); }

bool IsPortableFolder(const fs::path& folder) {
  std::error_code error;
  if (!Writable(folder)) return false;
  return fs::exists(folder / kCatalogueName, error) || fs::is_directory(folder / kDataFolderName, error) ||
         fs::exists(folder / "portable", error);
}

// The message for a home that cannot be used.
std::string HomeError(const fs::path& folder) {
  return Utf8ToGbk("无法创建或写入数据文件夹（") + NativeNameToGbk(folder.string()) + Utf8ToGbk("），请检查权限！");
}

}  // namespace

DataHomeSources SourcesFromEnvironment(std::optional<fs::path> home_option) {
  DataHomeSources sources;
  sources.program_folder = ProgramFolder();
  sources.home_option = std::move(home_option);
  sources.movra_home = Env("MOVRA_HOME");
  sources.xdg_data_home = Env("XDG_DATA_HOME");
  sources.user_home = Env("HOME");
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
  if (!chosen && sources.movra_home) chosen = fs::path(*sources.movra_home);
  if (!chosen && IsPortableFolder(sources.program_folder)) {
    DataHome home = PortableHome(sources.program_folder);
    if (std::string error = EnsureDataFolder(home.data_folder); !error.empty()) return {std::nullopt, error};
    return {home, {}};
  }
  if (!chosen) {
    // XDG_DATA_HOME counts only when absolute.
    if (sources.xdg_data_home && fs::path(*sources.xdg_data_home).is_absolute()) {
      chosen = fs::path(*sources.xdg_data_home) / "movra";
    } else if (sources.user_home) {
      chosen = fs::path(*sources.user_home) / ".local" / "share" / "movra";
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
  return Utf8ToGbk("无法创建光盘快照文件夹（") + NativeNameToGbk(data_folder.string()) + Utf8ToGbk("）！");
}

std::string FsPathOf(const fs::path& native) { return native.string(); }

fs::path NativeOfFsPath(const std::string& fs_path) { return fs::path(fs_path); }

fs::path SnapshotFileIn(const fs::path& data_folder, std::string_view disc_name) {
  return data_folder / GbkToUtf8(SnapshotFileName(disc_name));
}

}  // namespace movra
