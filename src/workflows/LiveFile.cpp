#include "workflows/LiveFile.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "browse/FolderListing.h"
#include "catalog/ElementNames.h"
#include "platform/DataHome.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "snapshot/SnapshotFile.h"

namespace movra {
namespace {

// 光盘卷号：
constexpr std::string_view kSerialPrefix = "\xB9\xE2\xC5\xCC\xBE\xED\xBA\xC5\xA3\xBA";
// 光盘卷标：
constexpr std::string_view kLabelPrefix = "\xB9\xE2\xC5\xCC\xBE\xED\xB1\xEA\xA3\xBA";

// How many recorded root entries must be on a volume that has no serial to go by.
constexpr std::size_t kSampledEntries = 3;

// The text after prefix on the first memo line that starts with it.
std::optional<std::string> MemoValue(std::string_view memo, std::string_view prefix) {
  for (const std::string& line : MemoLines(memo)) {
    if (line.starts_with(prefix)) return line.substr(prefix.size());
  }
  return std::nullopt;
}

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool SameAsciiCaseless(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 0x80 || y >= 0x80) {
      // A double-byte character is compared whole, byte for byte.
      if (x != y || i + 1 >= a.size() || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (std::tolower(x) != std::tolower(y)) return false;
  }
  return true;
}

bool NativeExists(const std::string& native) {
  return Fs().DirectoryExists(native) || Fs().FileExists(native);
}

// The native path of a recorded path with its drive letter replaced by letter; nullopt when unmounted.
std::optional<std::string> NativeOnDrive(const DriveMap& drives, char letter, std::string_view recorded) {
  const std::size_t colon = recorded.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  std::string moved(1, letter);
  moved += recorded.substr(colon);
  std::optional<std::string> native = drives.NativePathOf(moved);
  while (native && native->size() > 1 && native->back() == '/') native->pop_back();
  return native;
}

// The names of up to kSampledEntries entries filed directly under the root.
std::vector<std::string> SampledRootNames(const SnapshotIndex& snapshot, const std::string& root) {
  std::vector<std::string> names;
  std::vector<FolderItem> folders;
  std::vector<FileItem> files;
  snapshot.ListFolders(root, folders);
  snapshot.ListFiles(root, files);
  for (const FolderItem& f : folders) {
    if (names.size() < kSampledEntries) names.push_back(f.name);
  }
  for (const FileItem& f : files) {
    if (names.size() < kSampledEntries) names.push_back(f.name);
  }
  return names;
}

bool IsFolderDisc(std::string_view root) { return root.find('\\') + 1 < root.size(); }

// The label and serial of a drive's volume; nullopt when they cannot be read.
std::optional<std::pair<std::string, std::uint32_t>> VolumeOf(const VolumeReader& read_volume, char letter) {
  std::string label;
  std::uint32_t serial = 0;
  const char drive_text[] = {letter, ':', '\0'};
  if (!read_volume || !read_volume(drive_text, label, serial)) return std::nullopt;
  return std::pair{label, serial};
}

// The letter under which the disc's root is mounted now; nullopt when no volume holds it.
std::optional<char> LiveLetter(const DriveMap& drives, const VolumeReader& read_volume, std::string_view memo,
                               const SnapshotIndex& snapshot, const std::string& root) {
  const std::optional<std::uint32_t> serial = RecordedSerial(memo);
  const std::vector<DriveEntry> mounted = drives.Drives();
  if (serial) {
    for (const DriveEntry& drive : mounted) {
      if (drive.mount.empty()) continue;
      const auto volume = VolumeOf(read_volume, drive.letter);
      if (!volume || volume->second != *serial) continue;
      const std::optional<std::string> native = NativeOnDrive(drives, drive.letter, root);
      if (native && Fs().DirectoryExists(*native)) return drive.letter;
    }
  }
  if (IsFolderDisc(root)) {
    const std::optional<std::string> native = NativeOnDrive(drives, root[0], root);
    if (native && Fs().DirectoryExists(*native)) return root[0];
    return std::nullopt;
  }
  if (serial) return std::nullopt;  // a recorded serial decides for a whole medium
  // No serial: the volumes holding the sampled root entries, the one with the recorded label first.
  const std::vector<std::string> names = SampledRootNames(snapshot, root);
  if (names.empty()) return std::nullopt;
  const std::string recorded_label = RecordedLabel(memo);
  std::optional<char> holding;
  for (const DriveEntry& drive : mounted) {
    if (drive.mount.empty()) continue;
    bool all = true;
    for (const std::string& name : names) {
      const std::optional<std::string> native = NativeOnDrive(drives, drive.letter, root + name);
      all = all && native && NativeExists(*native);
    }
    if (!all) continue;
    const auto volume = VolumeOf(read_volume, drive.letter);
    if (volume && SameAsciiCaseless(volume->first, recorded_label)) return drive.letter;
    if (!holding) holding = drive.letter;
  }
  return holding;
}

// True when a component of a recorded path steps out of its folder ("." or "..").
bool LeavesItsFolder(std::string_view recorded) {
  std::size_t start = 0;
  while (start <= recorded.size()) {
    std::size_t end = recorded.find('\\', start);
    if (end == std::string_view::npos) end = recorded.size();
    const std::string_view part = recorded.substr(start, end - start);
    if (part == "." || part == "..") return true;
    start = end + 1;
  }
  return false;
}

// The message for a disc none of the volumes holds: the folder of a folder
// disc whose drive is here (with the recorded serial, if any) is gone, else
// the disc is to be inserted.
std::string AbsentMessage(const DriveMap& drives, const VolumeReader& read_volume, std::string_view disc_name,
                          std::string_view memo, const std::string& root) {
  const std::string quoted = Utf8ToGbk("“") + std::string(disc_name) + Utf8ToGbk("”");
  const std::optional<std::uint32_t> serial = RecordedSerial(memo);
  if (IsFolderDisc(root) && NativeOnDrive(drives, root[0], root.substr(0, 3))) {
    const auto volume = VolumeOf(read_volume, root[0]);
    if (!serial || (volume && volume->second == *serial)) {
      return Utf8ToGbk("光盘") + quoted + Utf8ToGbk("的文件夹“") + root + Utf8ToGbk("”不存在，请确认它没有被移动或删除后再试。");
    }
  }
  std::string message = Utf8ToGbk("请插入光盘") + quoted;
  if (serial) message += Utf8ToGbk("（卷号 ") + SerialText(*serial) + Utf8ToGbk("）");
  return message + Utf8ToGbk("后再试。");
}

}  // namespace

std::optional<std::uint32_t> RecordedSerial(std::string_view memo) {
  const std::optional<std::string> value = MemoValue(memo, kSerialPrefix);
  if (!value) return std::nullopt;
  const std::string_view digits = TrimSpaces(*value);
  if (digits.empty()) return std::nullopt;
  std::int64_t number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  // Windows shows serials as signed 32-bit numbers; an unsigned one is taken too.
  if (number < INT32_MIN || number > static_cast<std::int64_t>(UINT32_MAX)) return std::nullopt;
  return static_cast<std::uint32_t>(number);
}

std::string RecordedLabel(std::string_view memo) {
  return std::string(TrimSpaces(MemoValue(memo, kLabelPrefix).value_or(std::string())));
}

std::string SerialText(std::uint32_t serial) {
  char text[10];
  std::snprintf(text, sizeof text, "%04X-%04X", static_cast<unsigned>(serial >> 16),
                static_cast<unsigned>(serial & 0xFFFF));
  return text;
}

std::string RecordedPathOn(std::string_view root, std::string_view text) {
  std::string path(text);
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  if (path.find(':') == std::string::npos) {
    while (!path.empty() && path.front() == '\\') path.erase(0, 1);
    path = std::string(root) + path;
  }
  return path;
}

LiveLocation LocateInSnapshot(const DriveMap& drives, const VolumeReader& read_volume, std::string_view disc_name,
                              std::string_view memo, const SnapshotIndex& snapshot, std::string_view path) {
  const std::string quoted = Utf8ToGbk("“") + std::string(disc_name) + Utf8ToGbk("”");
  const std::string root = snapshot.RootFolder();
  if (root.empty()) return {{Outcome::kNotFound, Utf8ToGbk("光盘") + quoted + Utf8ToGbk("没有记录任何文件。")}, {}};
  const std::string recorded = path.empty() ? root : std::string(path);
  // The root without its backslash, then nothing or a backslash: a path on this disc.
  const std::string_view base = std::string_view(root).substr(0, root.size() - 1);
  const bool on_disc = recorded.starts_with(base) && (recorded.size() == base.size() || recorded[base.size()] == '\\');
  if (!on_disc || LeavesItsFolder(recorded)) {
    return {{Outcome::kNotFound, Utf8ToGbk("光盘") + quoted + Utf8ToGbk("上没有“") + recorded + Utf8ToGbk("”。")}, {}};
  }
  const std::optional<char> letter = LiveLetter(drives, read_volume, memo, snapshot, root);
  if (!letter) return {{Outcome::kNotFound, AbsentMessage(drives, read_volume, disc_name, memo, root)}, {}};
  const std::optional<std::string> native = NativeOnDrive(drives, *letter, recorded);
  if (!native || !NativeExists(*native)) {
    return {{Outcome::kNotFound, Utf8ToGbk("光盘") + quoted + Utf8ToGbk("上已经没有“") + recorded + Utf8ToGbk("”。")},
            {}};
  }
  return {{}, *native};
}

LiveLocation LocateOnDisc(Workspace& work, const DriveMap& drives, const VolumeReader& read_volume,
                          std::string_view disc_name, std::string_view path) {
  const Element disc = work.catalogue.FindDiscElement(DiscElementName(disc_name));
  if (!disc) return {{Outcome::kNotFound, Utf8ToGbk("找不到光盘“") + std::string(disc_name) + Utf8ToGbk("”。")}, {}};
  const std::string memo = CatalogueDocument::ElementText(CatalogueDocument::FindChild(disc, "Memo"));
  const std::string file = FsPathOf(SnapshotFileOf(work, disc_name));
  SnapshotIndex snapshot;
  if (!ReadSnapshot(snapshot, file)) {
    return {{Outcome::kFailed, Utf8ToGbk("光盘快照文件无法读取：") + file}, {}};
  }
  return LocateInSnapshot(drives, read_volume, disc_name, memo, snapshot,
                          path.empty() ? std::string() : RecordedPathOn(snapshot.RootFolder(), path));
}

}  // namespace movra
