// The two drive services of adding a disc: the label and serial number of
// the volume behind a drive letter, and the tray of an optical drive.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/DriveMap.h"

namespace movra {

// Reads the label (GBK) and a 32-bit serial number of the file system on the
// drive of drive_text ("E:"), lettered optical drive or other volume. The
// serial is the one Windows shows: for FAT, exFAT and NTFS the number in the
// boot sector. On failure (no such drive, no medium, no file
// system) returns false and leaves both unchanged.
bool ReadVolumeInfo(const DriveMap& drives, std::string_view drive_text, std::string& label,
                    std::uint32_t& serial);

// What a probe of a volume found: its file-system type, UUID and label, as
// the system reports them (UTF-8 where they are text).
struct VolumeProbe {
  std::string type;   // "vfat", "exfat", "ntfs", "iso9660" ...
  std::string uuid;   // "1234-ABCD"; empty when the file system has none
  std::string label;  // empty when it has none
};

// Probes the file system on a device or image file (native path); nullopt
// when it cannot be read or holds none.
std::optional<VolumeProbe> ProbeVolume(const std::string& device);

// The file system of device number ("8:17") as the device manager's database
// in folder udev_data recorded it; nullopt when it has no entry or no file system.
std::optional<VolumeProbe> UdevVolume(const std::string& udev_data, const std::string& number);

// The serial number made from the UUID of a file system of the given type: a
// hexadecimal UUID gives its last eight digits (a FAT "1234-ABCD" gives
// 0x1234ABCD); an ISO 9660 UUID (its creation date) or any other text gives
// its 32-bit FNV-1a hash.
std::uint32_t SerialFromUuid(std::string_view type, std::string_view uuid);

// Opens (open true: the medium is unmounted and ejected through Ejector(),
// without waiting) or closes the tray of the optical drive of drive_text.
// Does nothing for an empty text or a drive that is not optical; errors are ignored.
void SetTrayDoor(const DriveMap& drives, bool open, std::string_view drive_text);

}  // namespace movra
