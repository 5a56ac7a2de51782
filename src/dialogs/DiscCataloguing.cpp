#include "dialogs/DiscCataloguing.h"

#include <climits>

#include "catalog/NameRules.h"
#include "dialogs/DiscEntry.h"
#include "platform/TextCodec.h"
#include "platform/FileSystem.h"
#include "snapshot/ImageScanner.h"
#include "snapshot/ScanSource.h"

namespace movra {

DiscInputProblem CheckDiscInput(CatalogueDocument& doc, const DiscInput& input,
                                std::optional<std::string_view> scan_path_text) {
  const std::string name = CleanName(input.name_text);
  if (name != input.name_text) return DiscInputProblem::kInvalidName;
  if (input.category_path.empty() || input.date_text.empty() || name.empty() ||
      (scan_path_text && scan_path_text->empty())) {
    return DiscInputProblem::kIncomplete;
  }
  // The snapshot file is named after the disc; Linux names hold NAME_MAX bytes of UTF-8.
  if (GbkToUtf8(name).size() + 4 > NAME_MAX) return DiscInputProblem::kNameTooLong;
  if (doc.ResolvePath(name, true)) return DiscInputProblem::kNameTaken;
  return DiscInputProblem::kNone;
}

Element CatalogueDisc(CatalogueDocument& doc, Element category, const DiscInput& input) {
  const std::string name = CleanName(input.name_text);
  Element disc = doc.GetOrAddChild(category, "D_" + name);
  if (!disc) return disc;
  doc.SetChildText(disc, "Title", name);
  doc.SetChildText(disc, "Time", input.date_text);
  doc.SetChildText(disc, "Memo", input.memo);
  return disc;
}

std::string SnapshotPathOf(std::string_view data_folder, std::string_view disc_name) {
  return NativeJoin(data_folder, std::string(disc_name) + ".cdg");
}

DiscScanResult ScanDisc(SnapshotIndex& index, const DriveMap& drives, std::string_view source,
                        const ScanCallback& progress) {
  index.Clear();
  // A native folder path (from the command line) is scanned by its drive path.
  std::string scan_path(source);
  if (!scan_path.empty() && scan_path.front() == '/' && !ImageFileOf(drives, scan_path)) {
    scan_path = drives.DrivePathOf(scan_path).value_or(std::string());
    if (scan_path.empty()) return DiscScanResult::kNothingFound;
  }
  if (DriveLetterOf(scan_path) != 0) scan_path = WithTrailingBackslash(scan_path);
  if (const std::optional<std::string> image = ImageFileOf(drives, scan_path)) {
    const ImageScanResult read = ScanImage(index, *image, ImageRootKey(drives), progress);
    if (read != ImageScanResult::kRead) {
      index.Clear();
      return read == ImageScanResult::kCancelled ? DiscScanResult::kCancelled : DiscScanResult::kUnreadableImage;
    }
  } else if (!ScanFolder(index, drives, scan_path, progress)) {
    index.Clear();
    return DiscScanResult::kCancelled;
  }
  if (index.Empty() || index.DriveOf().empty()) return DiscScanResult::kNothingFound;
  return DiscScanResult::kScanned;
}

}  // namespace movra
