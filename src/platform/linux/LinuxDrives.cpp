#include "platform/linux/LinuxDrives.h"

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <utility>

#include "platform/MountedVolumes.h"

namespace movra {
namespace {

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

MountedVolumes::MountedVolumes(const std::string& source) : table_(ReadSmallFile(source)) {}

std::string MountedVolumes::MountOf(const std::string& number) const { return MountPointOf(table_, number); }

std::vector<DriveEntry> MountedVolumes::Volumes(const std::vector<std::string>& skip) const {
  return VolumesOf(table_, skip);
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
  char letter = 'D';
  for (int n : numbers) {
    if (letter >= 'Z') break;  // Z: is the file system's root
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
