#include "platform/IsoSerial.h"

#include <array>
#include <cstring>

#include "platform/FileSystem.h"

namespace movra {
namespace {

// Volume descriptors start at sector 16; a set rarely holds more than a few,
// so the search stops after this many sectors even without a terminator.
constexpr int kFirstDescriptor = 16;
constexpr int kMaxDescriptors = 64;

using Sector = std::array<unsigned char, kIsoSectorSize>;

// True for a supplementary descriptor whose escape sequence names UCS-2
// (levels 1 to 3): "%/@", "%/C" or "%/E" at offset 88.
bool IsJoliet(const Sector& s) {
  if (s[0] != 2) return false;
  const unsigned char* esc = s.data() + 88;
  return esc[0] == '%' && esc[1] == '/' && (esc[2] == '@' || esc[2] == 'C' || esc[2] == 'E');
}

// Appends code point cp to out as UTF-8.
void AppendUtf8(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | cp >> 6));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | cp >> 12));
    out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | cp >> 18));
    out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// The volume identifier (32 bytes at offset 40) as UTF-8: UCS-2 big endian
// in a Joliet descriptor, single bytes in the primary one.
std::string LabelOf(const Sector& s, bool joliet) {
  std::string label;
  const unsigned char* id = s.data() + 40;
  if (joliet) {
    for (int i = 0; i + 1 < 32; i += 2) {
      std::uint32_t cp = static_cast<std::uint32_t>(id[i]) << 8 | id[i + 1];
      if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < 32) {
        const std::uint32_t low = static_cast<std::uint32_t>(id[i + 2]) << 8 | id[i + 3];
        if (low >= 0xDC00 && low <= 0xDFFF) {
          cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          i += 2;
        }
      }
      if (cp == 0) break;
      AppendUtf8(label, cp >= 0xD800 && cp <= 0xDFFF ? '?' : cp);
    }
  } else {
    for (int i = 0; i < 32 && id[i] != 0; ++i) AppendUtf8(label, id[i] < 0x80 ? id[i] : '?');
  }
  while (!label.empty() && label.back() == ' ') label.pop_back();
  return label;
}

}  // namespace

std::uint32_t IsoSerialOfDescriptor(std::span<const unsigned char, kIsoSectorSize> descriptor) {
  std::array<std::uint8_t, 4> lanes{};
  for (std::size_t i = 0; i < descriptor.size(); ++i) lanes[i % 4] += descriptor[i];
  return static_cast<std::uint32_t>(lanes[0]) << 24 | static_cast<std::uint32_t>(lanes[1]) << 16 |
         static_cast<std::uint32_t>(lanes[2]) << 8 | lanes[3];
}

std::optional<std::uint32_t> ReadIsoSerial(const std::string& native_path) {
  const std::optional<IsoVolume> volume = ReadIsoVolume(native_path);
  if (!volume) return std::nullopt;
  return volume->serial;
}

std::optional<IsoVolume> ReadIsoVolume(const std::string& native_path) {
  const std::optional<FileReader> file = FileReader::Open(native_path);
  if (!file) return std::nullopt;
  std::optional<Sector> primary;
  std::optional<Sector> joliet;
  Sector s;
  for (int i = 0; i < kMaxDescriptors && !joliet; ++i) {
    const std::uint64_t at = static_cast<std::uint64_t>(kFirstDescriptor + i) * kIsoSectorSize;
    if (!file->ReadAt(at, s.data(), s.size())) break;
    if (std::memcmp(s.data() + 1, "CD001", 5) != 0) break;
    if (s[0] == 255) break;  // set terminator
    if (s[0] == 1 && !primary) primary = s;
    else if (IsJoliet(s)) joliet = s;
  }
  if (joliet) return IsoVolume{LabelOf(*joliet, true), IsoSerialOfDescriptor(*joliet)};
  if (primary) return IsoVolume{LabelOf(*primary, false), IsoSerialOfDescriptor(*primary)};
  return std::nullopt;
}

}  // namespace movra
