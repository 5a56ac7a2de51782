#include "platform/ScanFence.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/sysmacros.h>

#include "platform/linux/LinuxDrives.h"

namespace movra {

ScanFence ScanFenceOf(const DriveMap& drives, char scan_letter) {
  ScanFence fence;
  const std::string table_file = drives.MountTable().empty() ? "/proc/self/mountinfo" : drives.MountTable();
  std::ifstream in(table_file, std::ios::binary);
  std::ostringstream table;
  table << in.rdbuf();
  for (const auto& [mount, number] : PseudoMountsOf(table.str())) {
    unsigned major = 0, minor = 0;
    if (std::sscanf(number.c_str(), "%u:%u", &major, &minor) == 2)
      fence.pseudo_volumes.push_back(static_cast<std::uint64_t>(makedev(major, minor)));
    if (const std::optional<FileId> id = FileIdOf(mount)) fence.roots.push_back(*id);
  }
  for (const DriveEntry& d : drives.Drives()) {
    if (d.letter == scan_letter || d.mount.empty() || d.mount == "/") continue;
    if (const std::optional<FileId> id = FileIdOf(d.mount)) fence.roots.push_back(*id);
  }
  return fence;
}

}  // namespace movra
