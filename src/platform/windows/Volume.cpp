#include "platform/Volume.h"

#include "platform/IsoSerial.h"
#include "platform/TextCodec.h"
#include "platform/windows/WinText.h"

namespace movra {
namespace {

// True when a device path names a file (a disc image), not a drive ("\\.\D:").
bool IsImageFile(const std::string& device) {
  if (device.empty() || device.rfind("\\\\.\\", 0) == 0) return false;
  const DWORD attributes = ::GetFileAttributesW(WidePath(device).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool ReadVolumeInfo(const DriveMap& drives, std::string_view drive_text, std::string& label,
                    std::uint32_t& serial) {
  const std::optional<DriveEntry> drive = drives.Find(drive_text);
  if (!drive) return false;
  // A drive that stands for a disc image: its file system read from the file.
  if (IsImageFile(drive->device)) {
    const std::optional<IsoVolume> volume = ReadIsoVolume(drive->device);
    if (!volume) return false;
    label = Utf8ToGbk(volume->label);
    serial = volume->serial;
    return true;
  }
  // Only a drive's own root or a share names a volume: "/" alone would be the current drive's.
  const bool rooted = drive->mount.size() >= 2 &&
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

// The system reads the volumes of its drives itself; a disc image file is
// read here, ISO 9660 (with Joliet) being what images of data discs hold.
std::optional<VolumeProbe> ProbeVolume(const std::string& device) {
  if (!IsImageFile(device)) return std::nullopt;
  const std::optional<IsoVolume> volume = ReadIsoVolume(device);
  if (!volume) return std::nullopt;
  return VolumeProbe{"iso9660", {}, volume->label};
}

// There is no device manager database on this system.
std::optional<VolumeProbe> UdevVolume(const std::string&, const std::string&) { return std::nullopt; }

}  // namespace movra
