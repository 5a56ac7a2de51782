// The folders a scan of a drive records but never enters: the roots of the
// other lettered drives (a volume is catalogued under its own letter) and
// everything of a pseudo file system (/proc, /sys, /dev ...).
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/Directory.h"
#include "platform/DriveMap.h"

namespace movra {

struct ScanFence {
  std::vector<FileId> roots;                  // folders not to enter
  std::vector<std::uint64_t> pseudo_volumes;  // volumes none of whose folders is entered

  // True when the folder is on a pseudo file system.
  bool IsPseudo(const FileId& folder) const {
    return std::find(pseudo_volumes.begin(), pseudo_volumes.end(), folder.volume) != pseudo_volumes.end();
  }
  // True when a scan must not enter the folder.
  bool Stops(const FileId& folder) const {
    return IsPseudo(folder) || std::find(roots.begin(), roots.end(), folder) != roots.end();
  }
};

// The fence of a scan of the drive scan_letter (its own root stays open).
ScanFence ScanFenceOf(const DriveMap& drives, char scan_letter);

}  // namespace movra
