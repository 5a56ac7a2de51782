// The serial number Windows shows for a data CD or DVD (ISO 9660): four
// one-byte lanes summed over the best volume descriptor, so a memo records
// the same number a Windows installation would show for the same disc.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace movra {

// Size of one ISO 9660 sector, and so of a volume descriptor.
inline constexpr std::size_t kIsoSectorSize = 2048;

// The serial of one volume descriptor: lane k (0..3) adds bytes k, k+4, k+8,
// ... modulo 256; the serial is lane0 << 24 | lane1 << 16 | lane2 << 8 | lane3.
std::uint32_t IsoSerialOfDescriptor(std::span<const unsigned char, kIsoSectorSize> descriptor);

// The serial of the ISO 9660 file system on a device or image file (native
// path): from the Joliet supplementary descriptor when there is one, else
// from the primary. nullopt when the file cannot be read or holds no ISO
// 9660 primary descriptor.
std::optional<std::uint32_t> ReadIsoSerial(const std::string& native_path);

// The label and serial of an ISO 9660 volume.
struct IsoVolume {
  std::string label;     // UTF-8; from the Joliet descriptor when there is one, trailing spaces removed
  std::uint32_t serial;  // as ReadIsoSerial
};

// The label and serial of the ISO 9660 file system on a device or image file;
// nullopt as for ReadIsoSerial.
std::optional<IsoVolume> ReadIsoVolume(const std::string& native_path);

}  // namespace movra
