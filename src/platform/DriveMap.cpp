#include "platform/DriveMap.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <utility>

#include "platform/TextCodec.h"

namespace movra {
namespace {

constexpr char kFirstOpticalLetter = 'D';
constexpr char kRootLetter = 'Z';

bool IsGbkLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Replaces every separator from by to, stepping over the trail byte of each
// GBK character: a trail byte may be 0x5C and is then part of a character,
// not a backslash.
std::string ReplaceSeparators(std::string_view text, char from, char to) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    if (IsGbkLead(static_cast<unsigned char>(out[i])) && i + 1 < out.size()) {
      ++i;
      continue;
    }
    if (out[i] == from) out[i] = to;
  }
  return out;
}

// Runs of slashes become one.
std::string CollapseSlashes(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path)
    if (c != '/' || out.empty() || out.back() != '/') out.push_back(c);
  return out;
}

std::string NormalizeMount(std::string_view mount) {
  std::string out = CollapseSlashes(mount);
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

// True when mount (normalized) is path itself or one of its ancestors.
bool MountHolds(const std::string& mount, const std::string& path) {
  if (mount == "/") return true;
  if (path.compare(0, mount.size(), mount) != 0) return false;
  return path.size() == mount.size() || path[mount.size()] == '/';
}

std::string ReadSmallFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Undoes the octal escapes (\040 for a blank, \134 for a backslash ...) of a mountinfo field.
std::string UnescapeMountField(std::string_view field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    const bool octal = field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' &&
                       field[i + 1] <= '3' && field[i + 2] >= '0' && field[i + 2] <= '7' &&
                       field[i + 3] >= '0' && field[i + 3] <= '7';
    if (octal) {
      out.push_back(static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0')));
      i += 3;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

// The mount point of the file system on device number dev ("11:0"), taken
// from the first mount of its whole root; empty when it is not mounted.
std::string MountPointOf(const std::string& mountinfo, const std::string& dev) {
  std::istringstream lines(mountinfo);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string id, parent, number, root, mount_point;
    if (!(fields >> id >> parent >> number >> root >> mount_point)) continue;
    if (number == dev && root == "/") return UnescapeMountField(mount_point);
  }
  return {};
}

std::string Trim(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

char DriveLetterOf(std::string_view text) {
  if (text.size() < 2 || text[1] != ':') return 0;
  char c = text[0];
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return c >= 'A' && c <= 'Z' ? c : 0;
}

DriveMap::DriveMap() : DriveMap(std::vector<DriveEntry>{}) {}

DriveMap::DriveMap(std::vector<DriveEntry> drives, std::string mountinfo) : mountinfo_(std::move(mountinfo)) {
  for (DriveEntry& d : drives) {
    const char letter = DriveLetterOf(std::string(1, d.letter) + ":");
    if (letter == 0) continue;
    const bool taken = std::any_of(drives_.begin(), drives_.end(),
                                   [letter](const DriveEntry& e) { return e.letter == letter; });
    if (taken) continue;
    d.letter = letter;
    if (!d.mount.empty()) d.mount = NormalizeMount(d.mount);
    drives_.push_back(std::move(d));
  }
  const bool has_root = std::any_of(drives_.begin(), drives_.end(),
                                    [](const DriveEntry& e) { return e.letter == kRootLetter; });
  if (!has_root) drives_.push_back({kRootLetter, "/", "", false});
  std::sort(drives_.begin(), drives_.end(),
            [](const DriveEntry& a, const DriveEntry& b) { return a.letter < b.letter; });
}

std::string DriveMap::ReadMountTable() const { return mountinfo_.empty() ? std::string() : ReadSmallFile(mountinfo_); }

std::string DriveMap::MountOf(const DriveEntry& d, const std::string& table) const {
  if (d.number.empty() || mountinfo_.empty()) return d.mount;
  const std::string mount = MountPointOf(table, d.number);
  return mount.empty() ? std::string() : NormalizeMount(Utf8ToGbk(mount));
}

std::vector<DriveEntry> DriveMap::Drives() const {
  const std::string table = ReadMountTable();
  std::vector<DriveEntry> drives = drives_;
  for (DriveEntry& d : drives) d.mount = MountOf(d, table);
  return drives;
}

std::vector<std::string> DriveMap::OpticalDrives() const {
  std::vector<std::string> list;
  for (const DriveEntry& d : drives_)
    if (d.optical) list.push_back(std::string(1, d.letter) + ":");
  return list;
}

const DriveEntry* DriveMap::Find(std::string_view drive_text) const {
  const char letter = DriveLetterOf(drive_text);
  if (letter == 0) return nullptr;
  for (const DriveEntry& d : drives_)
    if (d.letter == letter) return &d;
  return nullptr;
}

DriveType DriveMap::DriveTypeOf(std::string_view drive_text) const {
  // Only a drive's root names a drive: "D:" or "D:\".
  if (drive_text.size() > 3 || (drive_text.size() == 3 && drive_text[2] != '\\')) return DriveType::None;
  const DriveEntry* d = Find(drive_text);
  if (!d) return DriveType::None;
  return d->optical ? DriveType::CdRom : DriveType::Fixed;
}

std::optional<std::string> DriveMap::DeviceOf(std::string_view drive_text) const {
  const DriveEntry* d = Find(drive_text);
  if (!d || d->device.empty()) return std::nullopt;
  return d->device;
}

std::optional<std::string> DriveMap::NativePathOf(std::string_view drive_path) const {
  const DriveEntry* d = Find(drive_path);
  if (!d) return std::nullopt;
  const std::string mount = MountOf(*d, ReadMountTable());
  if (mount.empty()) return std::nullopt;
  std::string_view rest = drive_path.substr(2);
  if (rest.empty()) return mount;
  std::string tail = ReplaceSeparators(rest, '\\', '/');
  if (tail.front() != '/') tail.insert(tail.begin(), '/');  // "D:VIDEO" as "D:\VIDEO"
  if (mount == "/") return tail;
  return mount + tail;
}

std::optional<std::string> DriveMap::DrivePathOf(std::string_view native_path) const {
  if (native_path.empty() || native_path.front() != '/') return std::nullopt;
  const std::string path = CollapseSlashes(native_path);
  const std::vector<DriveEntry> drives = Drives();
  const DriveEntry* best = nullptr;
  for (const DriveEntry& d : drives) {
    if (d.mount.empty() || !MountHolds(d.mount, path)) continue;
    if (!best || d.mount.size() > best->mount.size()) best = &d;
  }
  if (!best) return std::nullopt;
  std::string rest = best->mount == "/" ? path : path.substr(best->mount.size());
  if (rest.empty()) rest.push_back('/');
  return std::string(1, best->letter) + ":" + ReplaceSeparators(rest, '/', '\\');
}

DriveMap DetectDrives() { return DetectDrives("/sys/block", "/proc/self/mountinfo"); }

DriveMap DetectDrives(const std::string& sys_block, const std::string& mountinfo_path) {
  // CD-ROM block devices are sr0, sr1, ...; order them by number, not by text.
  std::vector<int> numbers;
  if (DIR* dir = ::opendir(sys_block.c_str())) {
    while (const dirent* e = ::readdir(dir)) {
      std::string_view name = e->d_name;
      if (name.size() < 3 || name.substr(0, 2) != "sr") continue;
      if (!std::all_of(name.begin() + 2, name.end(), [](char c) { return c >= '0' && c <= '9'; })) continue;
      numbers.push_back(std::atoi(e->d_name + 2));
    }
    ::closedir(dir);
  }
  std::sort(numbers.begin(), numbers.end());

  const std::string mountinfo = ReadSmallFile(mountinfo_path);
  std::vector<DriveEntry> drives;
  char letter = kFirstOpticalLetter;
  for (int n : numbers) {
    if (letter >= kRootLetter) break;  // Z: is the file system's root
    const std::string name = "sr" + std::to_string(n);
    const std::string dev = Trim(ReadSmallFile(sys_block + "/" + name + "/dev"));
    DriveEntry d;
    d.letter = letter++;
    d.optical = true;
    d.device = Utf8ToGbk("/dev/" + name);
    d.number = dev;
    if (!dev.empty()) {
      const std::string mount = MountPointOf(mountinfo, dev);
      if (!mount.empty()) d.mount = Utf8ToGbk(mount);
    }
    drives.push_back(std::move(d));
  }
  return DriveMap(std::move(drives), mountinfo_path);
}

}  // namespace movra
