// What a drive map asks of the system at each use: where each device is
// mounted now and which other volumes a desktop user sees. DriveMap's own
// helper; the system's side lives in the platform folder of each system.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/DriveMap.h"

namespace movra {

// The mounts of one moment, read from a volume source (a mount table file).
class MountedVolumes {
 public:
  // Reads the source once; an unreadable source has no mounts.
  explicit MountedVolumes(const std::string& source);
  // The mount point of device number ("11:0"); empty when it is not mounted.
  std::string MountOf(const std::string& number) const;
  // The volumes a desktop user sees, but the device numbers in skip; letters not set.
  std::vector<DriveEntry> Volumes(const std::vector<std::string>& skip) const;

 private:
  std::string table_;
};

// A mount point without repeated or trailing slashes ("/" stays "/").
std::string NormalizeMount(std::string_view mount);

}  // namespace movra
