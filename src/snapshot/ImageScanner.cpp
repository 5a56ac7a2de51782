#include "snapshot/ImageScanner.h"

#include <algorithm>
#include <string>
#include <archive.h>
#include <archive_entry.h>
#include <cdio/udf.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/DataHome.h"
#include "platform/FileSystem.h"
#include "platform/IsoSerial.h"
#include "platform/TextCodec.h"
#include "snapshot/EntryOrder.h"

namespace movra {
namespace {

// How many entries are read between two progress reports.
constexpr std::size_t kReportEvery = 512;

// Gathers the entries of an image, whose readers return them in disc order,
// and files them folder by folder in scan order at the end.
class Collector {
 public:
  Collector(std::string_view root_key, const ScanCallback& progress, const ScanExclusions& exclude)
      : progress_(progress), exclude_(exclude) {
    keys_.emplace_back(root_key);
    folder_entry_.push_back(kNone);
    left_out_.push_back(false);
    dirs_.emplace(std::string(), 0);
  }

  // The folder id of a folder given by its path in the image ("A/B", "" for
  // the root), recording it and its parents when they are new.
  std::uint32_t FolderOf(std::string_view path) {
    const auto found = dirs_.find(std::string(path));
    if (found != dirs_.end()) return found->second;
    const std::size_t slash = path.rfind('/');
    const std::uint32_t parent = FolderOf(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash));
    const std::string_view leaf = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::uint32_t id = AddFolder(parent, leaf, ScanTimeOf(0));
    dirs_.emplace(std::string(path), id);
    return id;
  }

  // A new folder named name (native) below parent; its id.
  std::uint32_t AddFolder(std::uint32_t parent, std::string_view name, DateTime modified) {
    const std::uint32_t id = static_cast<std::uint32_t>(keys_.size());
    const std::size_t entry = entries_.size();
    const std::string_view recorded = Add(parent, name, true, modified, 0);
    const bool recorded_here = entries_.size() > entry;
    folder_entry_.push_back(recorded_here ? static_cast<std::uint32_t>(entry) : kNone);
    // A folder left out takes its subtree along.
    left_out_.push_back(!recorded_here);
    std::string key = keys_[parent];
    key.append(recorded);
    key.push_back('\\');
    keys_.push_back(std::move(key));
    return id;
  }

  // Sets the time of a folder recorded before its own entry was read.
  void SetFolderTime(std::uint32_t folder, DateTime modified) {
    if (folder_entry_[folder] != kNone) entries_[folder_entry_[folder]].modified = modified;
  }

  // A file named name (native) in folder.
  void AddFile(std::uint32_t folder, std::string_view name, DateTime modified, std::int64_t size) {
    Add(folder, name, false, modified, size);
  }

  // False once the progress callback has asked to stop.
  bool Report(std::uint32_t folder) {
    if (!progress_ || ++since_report_ < kReportEvery) return true;
    since_report_ = 0;
    return progress_(ScanProgress{keys_[folder], folders_, files_});
  }

  // Files everything gathered into index: folders first, then files, each in name order.
  void Fill(SnapshotIndex& index) {
    std::stable_sort(entries_.begin(), entries_.end(), [this](const Pending& a, const Pending& b) {
      if (a.folder != b.folder) return a.folder < b.folder;
      if (a.isFolder != b.isFolder) return a.isFolder;
      return EntryNameLess(NameOf(a), NameOf(b));
    });
    for (const Pending& e : entries_) {
      index.Insert(keys_[e.folder], NameOf(e), e.modified, !e.isFolder, e.size);
    }
  }

  // The recorded time of t (ScanTimeOf, with the last answer kept).
  DateTime TimeOf(std::time_t t) { return times_.Of(t); }

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

  struct Pending {
    std::uint32_t folder;  // id of the containing folder
    std::uint32_t nameOffset;
    std::uint16_t nameLength;
    bool isFolder;
    DateTime modified;
    std::int64_t size;
  };

  std::string_view NameOf(const Pending& e) const { return std::string_view(names_).substr(e.nameOffset, e.nameLength); }

  // Records an entry unless it is left out; its recorded (GBK) name.
  std::string_view Add(std::uint32_t folder, std::string_view name, bool is_folder, DateTime modified,
                       std::int64_t size) {
    const std::string recorded = NativeNameToGbk(name);
    // A name the index would refuse is kept short here; the index skips it.
    const std::size_t length = std::min<std::size_t>(recorded.size(), SnapshotIndex::kMaxLength + 1);
    const std::uint32_t offset = static_cast<std::uint32_t>(names_.size());
    names_.append(recorded, 0, length);
    if (left_out_[folder] || (!exclude_.Empty() && exclude_.Excludes(std::string_view(recorded).substr(0, length)))) {
      return std::string_view(names_).substr(offset, length);
    }
    entries_.push_back(Pending{folder, offset, static_cast<std::uint16_t>(length), is_folder, modified, size});
    ++(is_folder ? folders_ : files_);
    return std::string_view(names_).substr(offset, length);
  }

  const ScanCallback& progress_;
  const ScanExclusions& exclude_;
  std::vector<bool> left_out_;                // each folder id: left out, itself or with a folder above it
  std::vector<std::string> keys_;             // key of each folder id
  std::vector<std::uint32_t> folder_entry_;   // each folder's own entry (none for the root)
  std::unordered_map<std::string, std::uint32_t> dirs_;  // path in the image -> folder id
  std::vector<Pending> entries_;
  std::string names_;
  std::size_t folders_ = 0;
  std::size_t files_ = 0;
  std::size_t since_report_ = 0;
  ScanTimes times_;
};

// True when path names a regular file (a device would be read through its drive).
bool IsRegularFile(const std::string& path) { return Fs().FileExists(path); }

// The path of an entry without "./" in front or "/" behind.
std::string_view TrimPath(std::string_view path) {
  while (path.starts_with("./")) path.remove_prefix(2);
  while (!path.empty() && path.front() == '/') path.remove_prefix(1);
  while (!path.empty() && path.back() == '/') path.remove_suffix(1);
  return path;
}

// Opens an image by the system's own form of its path: a narrow name is
// read in the ANSI code page where paths are UTF-16.
[[maybe_unused]] int OpenArchive(archive* a, const char* path) { return archive_read_open_filename(a, path, 64 * 1024); }
[[maybe_unused]] int OpenArchive(archive* a, const wchar_t* path) {
  return archive_read_open_filename_w(a, path, 64 * 1024);
}

// Reads an ISO 9660 image with libarchive; nullopt when it is not one.
std::optional<ImageScanResult> ReadIso(Collector& out, const std::string& image) {
  archive* a = archive_read_new();
  archive_read_support_format_iso9660(a);
  if (OpenArchive(a, NativeOfFsPath(image).c_str()) != ARCHIVE_OK) {
    archive_read_free(a);
    return std::nullopt;
  }
  std::optional<ImageScanResult> result = ImageScanResult::kRead;
  bool first = true;
  archive_entry* entry = nullptr;
  for (;;) {
    const int status = archive_read_next_header(a, &entry);
    if (status == ARCHIVE_EOF) break;
    if (status < ARCHIVE_WARN) {
      // Not an ISO 9660 image at all, or one that breaks off.
      result = first ? std::nullopt : std::optional(ImageScanResult::kUnreadable);
      break;
    }
    first = false;
    // Rock Ridge names are the image's own bytes (UTF-8 where it was made),
    // which libarchive's UTF-8 form reads in the process's locale (on Windows
    // as Latin-1), so bytes beyond ASCII are taken as they are. Joliet names
    // come as UTF-16, which only the UTF-8 form keeps whole.
    const char* raw = archive_entry_pathname(entry);
    const char* utf8 = archive_entry_pathname_utf8(entry);
    const bool raw_text = raw != nullptr && std::any_of(raw, raw + std::char_traits<char>::length(raw),
                                                        [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    const std::string_view path = TrimPath(raw_text ? raw : utf8 ? utf8 : raw ? raw : "");
    if (path.empty() || path == "." || path == "..") continue;
    const std::size_t slash = path.rfind('/');
    const std::uint32_t parent = out.FolderOf(slash == std::string_view::npos ? std::string_view() : path.substr(0, slash));
    const DateTime modified = out.TimeOf(archive_entry_mtime(entry));
    if (archive_entry_filetype(entry) == AE_IFDIR) {
      out.SetFolderTime(out.FolderOf(path), modified);
    } else {
      // A symbolic link cannot be followed inside the image: recorded as an empty file.
      const std::int64_t size = archive_entry_filetype(entry) == AE_IFREG ? archive_entry_size(entry) : 0;
      out.AddFile(parent, slash == std::string_view::npos ? path : path.substr(slash + 1), modified, size);
    }
    if (!out.Report(parent)) {
      result = ImageScanResult::kCancelled;
      break;
    }
  }
  archive_read_free(a);
  return result;
}

// Where a UDF entry's file entry lies; the same for every name of one folder.
std::optional<std::uint64_t> UdfLocationOf(const udf_dirent_t* dir) {
  udf_fileid_desc_t fid;
  if (!udf_get_fileid_descriptor(dir, &fid)) return std::nullopt;
  return static_cast<std::uint64_t>(fid.icb.loc.partitionReferenceNum) << 32 | fid.icb.loc.lba;
}

// Walks one UDF folder (dir iterates its entries); false when cancelled.
// entered holds the folders walked so far: a damaged or crafted image whose
// folders loop back is recorded once instead of being walked for ever.
bool WalkUdf(Collector& out, udf_dirent_t* dir, std::uint32_t folder, std::unordered_set<std::uint64_t>& entered) {
  while (udf_readdir(dir)) {
    const char* name = udf_get_filename(dir);
    const std::string_view leaf = name ? name : "";
    if (leaf.empty() || leaf == "." || leaf == "..") continue;
    const DateTime modified = out.TimeOf(udf_get_modification_time(dir));
    if (udf_is_dir(dir)) {
      const std::uint32_t child = out.AddFolder(folder, leaf, modified);
      const std::optional<std::uint64_t> location = UdfLocationOf(dir);
      if (!location || !entered.insert(*location).second) continue;
      if (udf_dirent_t* sub = udf_opendir(dir)) {
        if (!WalkUdf(out, sub, child, entered)) {
          udf_dirent_free(dir);
          return false;
        }
      }
    } else {
      out.AddFile(folder, leaf, modified, static_cast<std::int64_t>(udf_get_file_length(dir)));
    }
    if (!out.Report(folder)) {
      udf_dirent_free(dir);
      return false;
    }
  }
  return true;  // udf_readdir frees dir at the end
}

// Reads a UDF image with libcdio's reader.
ImageScanResult ReadUdf(Collector& out, const std::string& image) {
  udf_t* udf = udf_open(image.c_str());
  if (!udf) return ImageScanResult::kUnreadable;
  udf_dirent_t* root = udf_get_root(udf, true, 0);
  ImageScanResult result = ImageScanResult::kUnreadable;
  std::unordered_set<std::uint64_t> entered;
  if (root) result = WalkUdf(out, root, 0, entered) ? ImageScanResult::kRead : ImageScanResult::kCancelled;
  udf_close(udf);
  return result;
}

}  // namespace

std::string ImageRootKey(const DriveMap& drives) {
  const std::vector<std::string> optical = drives.OpticalDrives();
  return (optical.empty() ? std::string("E:") : optical.front()) + "\\";
}

ImageScanResult ScanImage(SnapshotIndex& index, const std::string& native_image, std::string_view root_key,
                          const ScanCallback& progress, const ScanExclusions& exclude) {
  if (!IsRegularFile(native_image)) return ImageScanResult::kUnreadable;
  std::optional<ImageScanResult> result;
  {
    Collector iso(root_key, progress, exclude);
    result = ReadIso(iso, native_image);
    if (result == ImageScanResult::kRead) iso.Fill(index);
  }
  if (result) return *result;
  // Not ISO 9660: a UDF-only image (most DVD-Video and Blu-ray discs made lately).
  Collector udf(root_key, progress, exclude);
  const ImageScanResult read = ReadUdf(udf, native_image);
  if (read == ImageScanResult::kRead) udf.Fill(index);
  return read;
}

std::optional<ImageVolume> ReadImageVolume(const std::string& native_image) {
  if (const std::optional<IsoVolume> iso = ReadIsoVolume(native_image)) {
    return ImageVolume{Utf8ToGbk(iso->label), iso->serial};
  }
  if (!IsRegularFile(native_image)) return std::nullopt;
  udf_t* udf = udf_open(native_image.c_str());
  if (!udf) return std::nullopt;
  std::optional<ImageVolume> volume;
  if (udf_dirent_t* root = udf_get_root(udf, true, 0)) {
    char label[256] = {};
    // The logical volume identifier is the label the desktop shows.
    udf_get_logical_volume_id(udf, label, sizeof label);
    volume = ImageVolume{Utf8ToGbk(label), std::nullopt};
    udf_dirent_free(root);
  }
  udf_close(udf);
  return volume;
}

}  // namespace movra
