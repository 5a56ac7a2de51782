#include "platform/Volume.h"

#include <blkid/blkid.h>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <optional>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/FileSystem.h"
#include "platform/IsoSerial.h"
#include "platform/TextCodec.h"

namespace movra {
namespace {

// True when text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    size_t n = 0;
    unsigned min = 0;
    unsigned cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      n = 1, min = 0x80, cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      n = 2, min = 0x800, cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      n = 3, min = 0x10000, cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= text.size()) return false;  // cut short
    for (size_t k = 1; k <= n; ++k) {
      const unsigned char t = static_cast<unsigned char>(text[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (t & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n + 1;
  }
  return true;
}

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

// The value of tag in the probe's result, if the probe found one.
std::optional<std::string> ProbeValue(blkid_probe probe, const char* tag) {
  const char* data = nullptr;
  size_t length = 0;
  if (blkid_probe_lookup_value(probe, tag, &data, &length) != 0 || !data) return std::nullopt;
  std::string value(data, length);
  while (!value.empty() && value.back() == '\0') value.pop_back();  // the length counts the terminator
  return value;
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

bool ReadVolumeInfo(const DriveMap& drives, std::string_view drive_text, std::string& label,
                    std::uint32_t& serial) {
  const std::optional<std::string> device = drives.DeviceOf(drive_text);
  if (!device) return false;
  blkid_probe probe = blkid_new_probe_from_filename(NativePath(*device).c_str());
  if (!probe) return false;  // no medium, no such device, no permission
  blkid_probe_enable_superblocks(probe, 1);
  blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID | BLKID_SUBLKS_TYPE);
  const bool found = blkid_do_safeprobe(probe) == 0;
  std::optional<std::string> type, uuid, name;
  if (found) {
    type = ProbeValue(probe, "TYPE");
    uuid = ProbeValue(probe, "UUID");
    name = ProbeValue(probe, "LABEL");
  }
  blkid_free_probe(probe);
  if (!found) return false;

  // Labels come as UTF-8; a label that is not (raw bytes of an old disc
  // written on a Chinese system) is most likely GBK already.
  if (name) label = IsUtf8(*name) ? Utf8ToGbk(*name) : *name;
  else label.clear();
  serial = uuid ? SerialFromUuid(type.value_or(""), *uuid) : 0;
  // A data CD or DVD: the serial Windows derives from its volume descriptor.
  if (type == "iso9660") serial = ReadIsoSerial(NativePath(*device)).value_or(serial);
  return true;
}

void SetTrayDoor(const DriveMap& drives, bool open, std::string_view drive_text) {
  if (drive_text.empty() || drives.DriveTypeOf(drive_text.substr(0, 2)) != DriveType::CdRom) return;
  const std::optional<std::string> device = drives.DeviceOf(drive_text);
  if (!device) return;
  const int fd = ::open(NativePath(*device).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return;
  // The result is of no use to the caller: a tray that does not move is not an error.
  (void)::ioctl(fd, open ? CDROMEJECT : CDROMCLOSETRAY, 0);
  ::close(fd);
}

}  // namespace movra
