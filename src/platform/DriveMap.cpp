#include "platform/DriveMap.h"

#include <algorithm>
#include <mutex>
#include <utility>

#include "platform/FileSystem.h"
#include "platform/MountedVolumes.h"
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

}  // namespace

std::string NormalizeMount(std::string_view mount) {
  std::string out = CollapseSlashes(mount);
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}

namespace {

// True when mount (normalized) is path itself or one of its ancestors. The
// root holds only paths from the root, not those from a drive's root.
bool MountHolds(const std::string& mount, const std::string& path) {
  if (mount == "/") return path.front() == '/';
  if (path.compare(0, mount.size(), mount) != 0) return false;
  return path.size() == mount.size() || path[mount.size()] == '/';
}

}  // namespace

char DriveLetterOf(std::string_view text) {
  if (text.size() < 2 || text[1] != ':') return 0;
  char c = text[0];
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return c >= 'A' && c <= 'Z' ? c : 0;
}

std::string DrivePathWithBackslashes(std::string_view drive_path) {
  std::string out(drive_path);
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

struct DriveMap::Volumes {
  std::mutex mutex;
  std::vector<DriveEntry> lettered;  // in letter order
};

DriveMap::DriveMap() : DriveMap(std::vector<DriveEntry>{}) {}

DriveMap DriveMap::OfSystemDrives(std::vector<DriveEntry> drives) {
  const bool has_root = std::any_of(drives.begin(), drives.end(),
                                    [](const DriveEntry& e) { return e.letter == kRootLetter || e.letter == 'z'; });
  DriveMap map(std::move(drives));
  if (!has_root) std::erase_if(map.drives_, [](const DriveEntry& e) { return e.letter == kRootLetter; });
  return map;
}

DriveMap::DriveMap(std::vector<DriveEntry> drives, std::string mountinfo)
    : mountinfo_(std::move(mountinfo)), volumes_(std::make_shared<Volumes>()) {
  for (DriveEntry& d : drives) {
    const char letter = DriveLetterOf(std::string(1, d.letter) + ":");
    if (letter == 0) continue;
    const bool taken = std::any_of(drives_.begin(), drives_.end(),
                                   [letter](const DriveEntry& e) { return e.letter == letter; });
    if (taken) continue;
    d.letter = letter;
    if (!d.mount.empty()) d.mount = NormalizeMount(SlashedNative(d.mount));
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
  const MountedVolumes table(mountinfo_);
  std::vector<DriveEntry> all = drives_;
  std::vector<std::string> fixed_numbers;
  for (DriveEntry& d : all) {
    if (d.number.empty()) continue;
    fixed_numbers.push_back(d.number);
    const std::string mount = table.MountOf(d.number);
    d.mount = mount.empty() ? std::string() : NormalizeMount(mount);
  }
  const std::vector<DriveEntry> found = table.Volumes(fixed_numbers);

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
  if (!IsAbsoluteNative(native_path)) return std::nullopt;
  const std::string path = CollapseSlashes(SlashedNative(native_path));
  std::string best;
  for (const DriveEntry& d : Current()) {
    if (d.mount.empty() || !MountHolds(d.mount, path)) continue;
    if (best.empty() || d.mount.size() > best.size()) best = d.mount;
  }
  if (best.empty()) return std::nullopt;
  return best;
}

std::optional<std::string> DriveMap::DrivePathOf(std::string_view native_path) const {
  if (!IsAbsoluteNative(native_path)) return std::nullopt;
  const std::string path = CollapseSlashes(SlashedNative(native_path));
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

}  // namespace movra
