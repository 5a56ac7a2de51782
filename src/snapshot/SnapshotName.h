// Where a disc's snapshot lives: a file in the data folder named after the
// disc (GBK name) + ".cdg". Every part of the program forms it here.
#pragma once

#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace movra {

// The extension this program gives snapshot files.
inline constexpr std::string_view kSnapshotExtension = ".cdg";

// The file name (GBK) of a disc's snapshot: its name + ".cdg".
inline std::string SnapshotFileName(std::string_view disc_name) {
  return std::string(disc_name) + std::string(kSnapshotExtension);
}

// The snapshot file of a disc in a folder (native, with its trailing
// separator, or empty for the bare file name), native, as Fs() takes it.
inline std::string SnapshotPathOf(std::string_view folder, std::string_view disc_name) {
  return NativeJoin(folder, SnapshotFileName(disc_name));
}

}  // namespace movra
