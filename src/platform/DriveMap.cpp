#include "platform/DriveMap.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <mutex>
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

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// Mount points of the system itself: a desktop shows none of them as a drive.
bool IsSystemMount(std::string_view mount) {
  static constexpr std::string_view kExact[] = {"/",     "/boot", "/efi", "/home", "/usr", "/var", "/opt",
                                                 "/srv",  "/tmp",  "/root", "/nix", "/gnu", "/etc"};
  static constexpr std::string_view kUnder[] = {"/boot/", "/usr/", "/var/", "/snap/", "/proc/",
                                                 "/sys/",  "/dev/", "/etc/", "/run/"};
  for (std::string_view m : kExact)
    if (mount == m) return true;
  if (StartsWith(mount, "/run/media/")) return false;  // where desktops mount removable media
  for (std::string_view m : kUnder)
    if (StartsWith(mount, m)) return true;
  // A mount inside a hidden folder is meant to stay out of sight.
  return mount.find("/.") != std::string_view::npos;
}

// One line of a mount table, split into the fields used here.
struct MountLine {
  std::string number;  // "major:minor"
  std::string root;    // the mounted folder of its file system ("/" when whole)
  std::string mount;   // mount point, unescaped
  std::string type;    // file-system type
  std::string source;  // device or pseudo name, unescaped
};

std::optional<MountLine> ParseMountLine(const std::string& line) {
  std::istringstream fields(line);
  std::string id, parent, field;
  MountLine m;
  if (!(fields >> id >> parent >> m.number >> m.root >> m.mount)) return std::nullopt;
  while (fields >> field && field != "-") {
  }  // options and optional fields
  if (!(fields >> m.type >> m.source)) return std::nullopt;
  m.mount = UnescapeMountField(m.mount);
  m.source = UnescapeMountField(m.source);
  return m;
}

}  // namespace

bool IsPseudoFileSystem(std::string_view type) {
  static constexpr std::string_view kPseudo[] = {
      "proc",    "sysfs",   "devpts", "devtmpfs", "cgroup", "cgroup2",   "debugfs", "tracefs",     "securityfs",
      "pstore",  "bpf",     "configfs", "fusectl", "mqueue", "hugetlbfs", "autofs",  "binfmt_misc", "efivarfs",
      "rpc_pipefs", "nsfs", "selinuxfs"};
  for (std::string_view p : kPseudo)
    if (type == p) return true;
  return false;
}

std::vector<std::pair<std::string, std::string>> PseudoMountsOf(std::string_view mountinfo) {
  std::vector<MountLine> table;
  std::istringstream lines{std::string(mountinfo)};
  std::string line;
  while (std::getline(lines, line))
    if (std::optional<MountLine> m = ParseMountLine(line)) table.push_back(std::move(*m));
  std::vector<std::pair<std::string, std::string>> mounts;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (!IsPseudoFileSystem(table[i].type)) continue;
    // A file system mounted over it later (an automount point in use) is what lies there now.
    const bool covered = std::any_of(table.begin() + static_cast<std::ptrdiff_t>(i) + 1, table.end(),
                                     [&](const MountLine& later) { return later.mount == table[i].mount; });
    if (!covered) mounts.emplace_back(table[i].mount, table[i].number);
  }
  return mounts;
}

std::vector<DriveEntry> VolumesOf(std::string_view mountinfo, const std::vector<std::string>& skip) {
  std::vector<DriveEntry> volumes;
  std::istringstream lines{std::string(mountinfo)};
  std::string line;
  while (std::getline(lines, line)) {
    const std::optional<MountLine> m = ParseMountLine(line);
    if (!m || m->root != "/" || !StartsWith(m->source, "/dev/") || StartsWith(m->source, "/dev/sr")) continue;
    if (IsPseudoFileSystem(m->type) || IsSystemMount(NormalizeMount(m->mount))) continue;
    if (std::find(skip.begin(), skip.end(), m->number) != skip.end()) continue;
    const bool seen = std::any_of(volumes.begin(), volumes.end(),
                                  [&m](const DriveEntry& v) { return v.number == m->number; });
    if (seen) continue;  // a device mounted twice is lettered at its first mount
    volumes.push_back({0, NormalizeMount(m->mount), m->source, false, m->number});
  }
  return volumes;
}

char DriveLetterOf(std::string_view text) {
  if (text.size() < 2 || text[1] != ':') return 0;
  char c = text[0];
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return c >= 'A' && c <= 'Z' ? c : 0;
}

struct DriveMap::Volumes {
  std::mutex mutex;
  std::vector<DriveEntry> lettered;  // in letter order
};

DriveMap::DriveMap() : DriveMap(std::vector<DriveEntry>{}) {}

DriveMap::DriveMap(std::vector<DriveEntry> drives, std::string mountinfo)
    : mountinfo_(std::move(mountinfo)), volumes_(std::make_shared<Volumes>()) {
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

std::vector<DriveEntry> DriveMap::Current() const {
  if (mountinfo_.empty()) return drives_;
  const std::string table = ReadSmallFile(mountinfo_);
  std::vector<DriveEntry> all = drives_;
  std::vector<std::string> fixed_numbers;
  for (DriveEntry& d : all) {
    if (d.number.empty()) continue;
    fixed_numbers.push_back(d.number);
    const std::string mount = MountPointOf(table, d.number);
    d.mount = mount.empty() ? std::string() : NormalizeMount(mount);
  }
  const std::vector<DriveEntry> found = VolumesOf(table, fixed_numbers);

  // A volume keeps its letter while it stays mounted where it was; one that
  // went away frees its letter, and a new one takes the lowest free letter.
  std::lock_guard<std::mutex> lock(volumes_->mutex);
  std::vector<DriveEntry>& lettered = volumes_->lettered;
  auto same = [](const DriveEntry& a, const DriveEntry& b) { return a.number == b.number && a.mount == b.mount; };
  lettered.erase(std::remove_if(lettered.begin(), lettered.end(),
                                [&](const DriveEntry& v) {
                                  return std::none_of(found.begin(), found.end(),
                                                      [&](const DriveEntry& f) { return same(f, v); });
                                }),
                 lettered.end());
  auto used = [&](char letter) {
    auto has = [letter](const DriveEntry& e) { return e.letter == letter; };
    return std::any_of(all.begin(), all.end(), has) || std::any_of(lettered.begin(), lettered.end(), has);
  };
  for (const DriveEntry& f : found) {
    if (std::any_of(lettered.begin(), lettered.end(), [&](const DriveEntry& v) { return same(f, v); })) continue;
    char letter = kFirstOpticalLetter;
    while (letter < kRootLetter && used(letter)) ++letter;
    if (letter >= kRootLetter) break;  // every letter is taken
    DriveEntry v = f;
    v.letter = letter;
    lettered.push_back(std::move(v));
  }
  all.insert(all.end(), lettered.begin(), lettered.end());
  std::sort(all.begin(), all.end(), [](const DriveEntry& a, const DriveEntry& b) { return a.letter < b.letter; });
  return all;
}

std::vector<DriveEntry> DriveMap::Drives() const { return Current(); }

std::vector<std::string> DriveMap::OpticalDrives() const {
  std::vector<std::string> list;
  for (const DriveEntry& d : drives_)
    if (d.optical) list.push_back(std::string(1, d.letter) + ":");
  return list;
}

std::optional<DriveEntry> DriveMap::Find(std::string_view drive_text) const {
  const char letter = DriveLetterOf(drive_text);
  if (letter == 0) return std::nullopt;
  for (const DriveEntry& d : Current())
    if (d.letter == letter) return d;
  return std::nullopt;
}

DriveType DriveMap::DriveTypeOf(std::string_view drive_text) const {
  // Only a drive's root names a drive: "D:" or "D:\".
  if (drive_text.size() > 3 || (drive_text.size() == 3 && drive_text[2] != '\\')) return DriveType::None;
  const std::optional<DriveEntry> d = Find(drive_text);
  if (!d) return DriveType::None;
  return d->optical ? DriveType::CdRom : DriveType::Fixed;
}

std::optional<std::string> DriveMap::DeviceOf(std::string_view drive_text) const {
  const std::optional<DriveEntry> d = Find(drive_text);
  if (!d || d->device.empty()) return std::nullopt;
  return d->device;
}

std::optional<std::string> DriveMap::NativePathOf(std::string_view drive_path) const {
  const std::optional<DriveEntry> d = Find(drive_path);
  if (!d || d->mount.empty()) return std::nullopt;
  std::string_view rest = drive_path.substr(2);
  if (rest.empty()) return d->mount;
  std::string tail = GbkToUtf8(ReplaceSeparators(rest, '\\', '/'));
  if (tail.front() != '/') tail.insert(tail.begin(), '/');  // "D:VIDEO" as "D:\VIDEO"
  if (d->mount == "/") return tail;
  return d->mount + tail;
}

std::optional<std::string> DriveMap::MountHolding(std::string_view native_path) const {
  if (native_path.empty() || native_path.front() != '/') return std::nullopt;
  const std::string path = CollapseSlashes(native_path);
  std::string best;
  for (const DriveEntry& d : Current()) {
    if (d.mount.empty() || !MountHolds(d.mount, path)) continue;
    if (best.empty() || d.mount.size() > best.size()) best = d.mount;
  }
  if (best.empty()) return std::nullopt;
  return best;
}

std::optional<std::string> DriveMap::DrivePathOf(std::string_view native_path) const {
  if (native_path.empty() || native_path.front() != '/') return std::nullopt;
  const std::string path = CollapseSlashes(native_path);
  const std::vector<DriveEntry> drives = Current();
  const DriveEntry* best = nullptr;
  for (const DriveEntry& d : drives) {
    if (d.mount.empty() || !MountHolds(d.mount, path)) continue;
    if (!best || d.mount.size() > best->mount.size()) best = &d;
  }
  if (!best) return std::nullopt;
  std::string rest = best->mount == "/" ? path : path.substr(best->mount.size());
  if (rest.empty()) rest.push_back('/');
  return std::string(1, best->letter) + ":" + ReplaceSeparators(Utf8ToGbk(rest), '/', '\\');
}

DriveMap DetectDrives() {
  DriveMap map = DetectDrives("/sys/block", "/proc/self/mountinfo");
  map.SetUdevData("/run/udev/data");
  return map;
}

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
    d.device = "/dev/" + name;
    d.number = dev;
    if (!dev.empty()) d.mount = MountPointOf(mountinfo, dev);
    drives.push_back(std::move(d));
  }
  return DriveMap(std::move(drives), mountinfo_path);
}

}  // namespace movra
