#include "platform/Volume.h"

#include "platform/TextCodec.h"
#include "platform/windows/WinText.h"

namespace movra {

bool ReadVolumeInfo(const DriveMap& drives, std::string_view drive_text, std::string& label,
                    std::uint32_t& serial) {
  const std::optional<DriveEntry> drive = drives.Find(drive_text);
  // Only a drive's own root or a share names a volume: "/" alone would be the current drive's.
  const bool rooted = drive && drive->mount.size() >= 2 &&
                      (drive->mount[1] == ':' || (drive->mount[0] == drive->mount[1] && (drive->mount[0] == '/' ||
                                                                                          drive->mount[0] == '\\')));
  if (!rooted) return false;
  // The root of the volume that holds the drive's folder ("D:\" for a real drive).
  wchar_t root[MAX_PATH + 1];
  if (!::GetVolumePathNameW(WidePath(drive->mount).c_str(), root, MAX_PATH)) return false;
  wchar_t name[MAX_PATH + 1] = {};
  DWORD number = 0;
  if (!::GetVolumeInformationW(root, name, MAX_PATH + 1, &number, nullptr, nullptr, nullptr, 0)) return false;
  label = Utf8ToGbk(Utf8Of(name));
  serial = number;
  return true;
}

// The system reads volumes itself; there is no probe of a device or image file here.
std::optional<VolumeProbe> ProbeVolume(const std::string&) { return std::nullopt; }

// There is no device manager database on this system.
std::optional<VolumeProbe> UdevVolume(const std::string&, const std::string&) { return std::nullopt; }

}  // namespace movra
