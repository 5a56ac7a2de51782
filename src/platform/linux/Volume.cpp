#include "platform/Volume.h"

#include <blkid/blkid.h>
#include <fstream>
#include <optional>

#include "platform/IsoSerial.h"
#include "platform/TextCodec.h"

namespace movra {
namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
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

// A udev value with its \xNN escapes undone ("MY\x20DISC" gives "MY DISC").
std::string UnescapeUdev(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' && IsHexDigit(text[i + 2]) &&
        IsHexDigit(text[i + 3])) {
      out.push_back(static_cast<char>(std::stoi(std::string(text.substr(i + 2, 2)), nullptr, 16)));
      i += 3;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace

bool ReadVolumeInfo(const DriveMap& drives, std::string_view drive_text, std::string& label,
                    std::uint32_t& serial) {
  const std::optional<DriveEntry> drive = drives.Find(drive_text);
  if (!drive || drive->device.empty()) return false;
  std::optional<VolumeProbe> probe = ProbeVolume(drive->device);
  // Disks other than optical ones are seldom readable by their user; the
  // system's device manager has probed them already.
  if (!probe && !drive->number.empty()) probe = UdevVolume(drives.UdevData(), drive->number);
  if (!probe) return false;

  // Labels come as UTF-8; a label that is not (raw bytes of an old disc
  // written on a Chinese system) is most likely GBK already.
  const std::string& name = probe->label;
  label = IsUtf8(name) ? Utf8ToGbk(name) : name;
  serial = probe->uuid.empty() ? 0 : SerialFromUuid(probe->type, probe->uuid);
  // A data CD or DVD: the serial Windows derives from its volume descriptor.
  if (probe->type == "iso9660") serial = ReadIsoSerial(drive->device).value_or(serial);
  return true;
}

std::optional<VolumeProbe> ProbeVolume(const std::string& device) {
  blkid_probe probe = blkid_new_probe_from_filename(device.c_str());
  if (!probe) return std::nullopt;  // no medium, no such device, no permission
  blkid_probe_enable_superblocks(probe, 1);
  blkid_probe_set_superblocks_flags(probe, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID | BLKID_SUBLKS_TYPE);
  std::optional<VolumeProbe> found;
  if (blkid_do_safeprobe(probe) == 0) {
    found.emplace();
    found->type = ProbeValue(probe, "TYPE").value_or("");
    found->uuid = ProbeValue(probe, "UUID").value_or("");
    found->label = ProbeValue(probe, "LABEL").value_or("");
  }
  blkid_free_probe(probe);
  return found;
}

std::optional<VolumeProbe> UdevVolume(const std::string& udev_data, const std::string& number) {
  if (udev_data.empty()) return std::nullopt;
  std::ifstream in(udev_data + "/b" + number);
  std::string line;
  std::optional<VolumeProbe> found;
  while (std::getline(in, line)) {
    auto value = [&line](std::string_view key) -> std::optional<std::string> {
      if (line.compare(0, key.size(), key) != 0) return std::nullopt;
      return line.substr(key.size());
    };
    if (auto type = value("E:ID_FS_TYPE=")) {
      if (type->empty()) return std::nullopt;  // no file system
      if (!found) found.emplace();
      found->type = *type;
    } else if (auto uuid = value("E:ID_FS_UUID=")) {
      if (!found) found.emplace();
      found->uuid = *uuid;
    } else if (auto label = value("E:ID_FS_LABEL_ENC=")) {
      if (!found) found.emplace();
      found->label = UnescapeUdev(*label);
    }
  }
  if (found && found->type.empty()) return std::nullopt;
  return found;
}

}  // namespace movra
