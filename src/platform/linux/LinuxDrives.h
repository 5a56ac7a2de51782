// The Linux volume source of the drive map: mount tables (mountinfo text),
// block devices under /sys/block and the device manager's database.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/DriveMap.h"

namespace movra {

// The volumes of a mount table (mountinfo text) that a desktop user sees, in
// mount order: block-device file systems mounted whole, neither pseudo nor
// system mounts, each device once, except the devices in skip ("major:minor").
// Letters are not set.
std::vector<DriveEntry> VolumesOf(std::string_view mountinfo, const std::vector<std::string>& skip);

// True for the type of a file system that holds no files of a medium (proc,
// sysfs, devtmpfs, cgroup ...): a scan never enters one.
bool IsPseudoFileSystem(std::string_view type);

// The pseudo file systems of a mount table (mountinfo text) that nothing is
// mounted over: their mount points and device numbers ("0:5").
std::vector<std::pair<std::string, std::string>> PseudoMountsOf(std::string_view mountinfo);

}  // namespace movra
