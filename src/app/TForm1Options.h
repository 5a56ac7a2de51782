// What the main window is built from: the places of its files, the drives of
// the machine and how the process ends. The process entry passes the real
// ones; window tests pass a temporary program folder and test drives.
#pragma once

#include <functional>
#include <string>

#include "platform/DriveMap.h"

namespace movra {

struct TForm1Options {
  // Folder of the executable (GBK, no trailing separator): backup and data folder live here.
  std::string program_folder;
  // The catalogue's bare file name, resolved against the current folder.
  std::string catalogue_file = "Movra.xml";
  // Drive letters of this run (DetectDrives() for the real machine).
  DriveMap drives;
  // The file that keeps the window's place, panes, columns, view style and tab
  // between runs (native path); empty: nothing is read or written.
  std::string settings_file;
  // Ends the process at once with the given status (std::exit unless a test replaces it).
  std::function<void(int)> exit_process;
};

}  // namespace movra
