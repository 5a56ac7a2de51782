#include "snapshot/ScanSource.h"

#include "platform/FileSystem.h"
#include "snapshot/ImageScanner.h"

namespace movra {

std::optional<std::string> ImageFileOf(const DriveMap& drives, std::string_view source) {
  std::string native;
  if (!source.empty() && source.front() == '/') {
    native = std::string(source);
  } else {
    while (!source.empty() && source.back() == '\\') source.remove_suffix(1);
    if (DriveLetterOf(source) == 0) return std::nullopt;
    const std::optional<std::string> path = drives.NativePathOf(source);
    if (!path) return std::nullopt;
    native = *path;
  }
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  if (!Fs().FileExists(native)) return std::nullopt;
  return native;
}

DiscScanResult ScanDisc(SnapshotIndex& index, const DriveMap& drives, std::string_view source,
                        const ScanCallback& progress, const ScanExclusions& exclude) {
  index.Clear();
  // A native folder path (from the command line) is scanned by its drive path.
  std::string scan_path(source);
  if (!scan_path.empty() && scan_path.front() == '/' && !ImageFileOf(drives, scan_path)) {
    scan_path = drives.DrivePathOf(scan_path).value_or(std::string());
    if (scan_path.empty()) return DiscScanResult::kNothingFound;
  }
  if (DriveLetterOf(scan_path) != 0) {
    scan_path = DrivePathWithBackslashes(scan_path);
    if (scan_path.back() != '\\') scan_path += '\\';
  }
  if (const std::optional<std::string> image = ImageFileOf(drives, scan_path)) {
    const ImageScanResult read = ScanImage(index, *image, ImageRootKey(drives), progress, exclude);
    if (read != ImageScanResult::kRead) {
      index.Clear();
      return read == ImageScanResult::kCancelled ? DiscScanResult::kCancelled : DiscScanResult::kUnreadableImage;
    }
  } else if (!ScanFolder(index, drives, scan_path, progress, exclude)) {
    index.Clear();
    return DiscScanResult::kCancelled;
  }
  if (index.Empty() || index.DriveOf().empty()) return DiscScanResult::kNothingFound;
  return DiscScanResult::kScanned;
}

}  // namespace movra
