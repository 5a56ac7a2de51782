#include "platform/Volume.h"

#include "platform/TextCodec.h"
#include "platform/TrayEject.h"
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

void SetTrayDoor(const DriveMap& drives, bool open, std::string_view drive_text) {
  if (drive_text.empty() || drives.DriveTypeOf(drive_text.substr(0, 2)) != DriveType::CdRom) return;
  const std::optional<DriveEntry> drive = drives.Find(drive_text);
  if (!drive || drive->device.empty()) return;
  if (open) {
    Ejector().Eject(drive->device, drive->mount);
    return;
  }
  const Handle volume(::CreateFileW(WideOf(drive->device).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
  if (!volume.valid()) return;
  // The result is of no use to the caller: a tray that does not move is not an error.
  DWORD bytes = 0;
  ::DeviceIoControl(volume.get(), IOCTL_STORAGE_LOAD_MEDIA, nullptr, 0, nullptr, 0, &bytes, nullptr);
}

}  // namespace movra
