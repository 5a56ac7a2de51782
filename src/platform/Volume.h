// The two drive services of adding a disc: the label and serial number of
// the volume behind a drive letter, and the tray of an optical drive.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/DriveMap.h"

namespace movra {

// Reads the label (GBK) and a 32-bit serial number of the file system on the
// drive of drive_text ("E:"). On failure (no such drive, no medium, no file
// system) returns false and leaves both unchanged.
bool ReadVolumeInfo(const DriveMap& drives, std::string_view drive_text, std::string& label,
                    std::uint32_t& serial);

// The serial number made from the UUID of a file system of the given type: a
// hexadecimal UUID gives its last eight digits (a FAT "1234-ABCD" gives
// 0x1234ABCD); an ISO 9660 UUID (its creation date) or any other text gives
// its 32-bit FNV-1a hash.
std::uint32_t SerialFromUuid(std::string_view type, std::string_view uuid);

// Opens (open true) or closes the tray of the optical drive of drive_text.
// Does nothing for an empty text or a drive that is not optical; errors are ignored.
void SetTrayDoor(const DriveMap& drives, bool open, std::string_view drive_text);

}  // namespace movra
