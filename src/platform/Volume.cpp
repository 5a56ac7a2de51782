#include "platform/Volume.h"

#include <string>

#include "platform/TrayEject.h"

namespace movra {
namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::uint32_t Fnv1a(std::string_view text) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace

std::uint32_t SerialFromUuid(std::string_view type, std::string_view uuid) {
  if (type != "iso9660") {
    std::string digits;
    bool hex = !uuid.empty();
    for (char c : uuid) {
      if (c == '-') continue;
      if (!IsHexDigit(c)) {
        hex = false;
        break;
      }
      digits.push_back(c);
    }
    if (hex && !digits.empty()) {
      if (digits.size() > 8) digits.erase(0, digits.size() - 8);
      return static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
    }
  }
  return Fnv1a(uuid);
}

void SetTrayDoor(const DriveMap& drives, bool open, std::string_view drive_text) {
  if (drive_text.empty() || drives.DriveTypeOf(drive_text.substr(0, 2)) != DriveType::CdRom) return;
  const std::optional<DriveEntry> drive = drives.Find(drive_text);
  if (!drive || drive->device.empty()) return;
  if (open) {
    Ejector().Eject(drive->device, drive->mount);
  } else {
    CloseTray(drive->device);
  }
}

}  // namespace movra
