#include "platform/ScanFence.h"

namespace movra {

// No pseudo file systems here: only the roots of the other lettered drives are fenced.
ScanFence ScanFenceOf(const DriveMap& drives, char scan_letter) {
  ScanFence fence;
  for (const DriveEntry& d : drives.Drives()) {
    if (d.letter == scan_letter || d.mount.empty() || d.mount == "/") continue;
    if (const std::optional<FileId> id = FileIdOf(d.mount)) fence.roots.push_back(*id);
  }
  return fence;
}

}  // namespace movra
