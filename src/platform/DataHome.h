// Where the catalogue, its backup and the data folder live. Portable: beside
// the executable, when its folder is writable and already holds Movra.xml,
// CDROM/ or a file named "portable" (the catalogue is then read from the
// current folder, as it always was). Installed: all three in
// $XDG_DATA_HOME/movra (~/.local/share/movra), or %APPDATA%\Movra where the
// system names such a folder. --home DIR and MOVRA_HOME choose
// another folder, the command line first. Paths are native (UTF-8 bytes).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace movra {

// The places of the program's own files for one run.
struct DataHome {
  std::filesystem::path folder;       // the home folder (the program folder when portable)
  std::filesystem::path catalogue;    // Movra.xml; a bare name in portable mode (current folder)
  std::filesystem::path backup;       // Movra.xml.backup
  std::filesystem::path data_folder;  // CDROM, where the snapshot files are
  bool portable = false;              // true when the files sit beside the executable
};

// What decides the home: the executable's folder, the option and the environment.
struct DataHomeSources {
  std::filesystem::path program_folder;               // folder of the executable
  std::optional<std::filesystem::path> home_option;   // --home DIR
  std::optional<std::string> movra_home;              // MOVRA_HOME
  std::optional<std::string> xdg_data_home;           // XDG_DATA_HOME
  std::optional<std::string> user_home;               // HOME
  std::optional<std::filesystem::path> app_data;      // the system's folder of users' program files (%APPDATA%)
};

// The home of the run, or the message (GBK) that says why there is none.
struct DataHomeResult {
  std::optional<DataHome> home;
  std::string error;
};

// The sources of this process: its executable's folder and its environment.
DataHomeSources SourcesFromEnvironment(std::optional<std::filesystem::path> home_option);

// The portable layout over folder (catalogue in the current folder, backup
// and data folder in folder); checks and creates nothing.
DataHome PortableHome(const std::filesystem::path& folder);

// The layout with every file in folder; checks and creates nothing.
DataHome HomeIn(const std::filesystem::path& folder);

// Applies the rule: creates an installed or chosen home (and its data
// folder) when missing; an unwritable or uncreatable home gives an error.
DataHomeResult LocateDataHome(const DataHomeSources& sources);

// Creates the data folder when missing; empty when it exists afterwards,
// else the message (GBK) that says it cannot be created.
std::string EnsureDataFolder(const std::filesystem::path& data_folder);

// A native path as the file-system seam Fs() and the snapshot functions take it.
std::string FsPathOf(const std::filesystem::path& native);

// A path as Fs() and the pickers give it, as a native path.
std::filesystem::path NativeOfFsPath(const std::string& fs_path);

// The snapshot file of a disc (GBK name) in the data folder: name + ".cdg".
std::filesystem::path SnapshotFileIn(const std::filesystem::path& data_folder, std::string_view disc_name);

}  // namespace movra
