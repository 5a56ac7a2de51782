// What the main window is built from: the places of its files, the drives of
// the machine and how the process ends. The process entry passes the real
// ones; window tests pass a temporary program folder and test drives.
#pragma once

#include <functional>
#include <string>

#include <optional>

#include "platform/DataHome.h"
#include "platform/DriveMap.h"
#include "snapshot/SnapshotObserver.h"

namespace movra {

struct TForm1Options {
  // Folder of the executable (native, no trailing separator): the help files
  // live here, and without home also the backup and the data folder.
  std::string program_folder;
  // The catalogue's bare file name, resolved against the current folder (without home).
  std::string catalogue_file = "Movra.xml";
  // Where the catalogue, backup and data folder live; without it, the
  // portable layout over program_folder.
  std::optional<DataHome> home;
  // Told about every snapshot file the workflows write or remove; may be null.
  SnapshotObserver* snapshot_observer = nullptr;
  // Drive letters of this run (DetectDrives() for the real machine).
  DriveMap drives;
  // The file that keeps the window's place, panes, columns, view style and tab
  // between runs (native path); empty: nothing is read or written.
  std::string settings_file;
  // Ends the process at once with the given status (std::exit unless a test replaces it).
  std::function<void(int)> exit_process;
};

}  // namespace movra
