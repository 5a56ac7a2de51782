#include "workflows/AddDisc.h"

#include "catalog/NameRules.h"
#include "workflows/CatalogueEdit.h"
#include "workflows/DiscEntry.h"
#include "workflows/ScanRoot.h"
#include "platform/DataHome.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "platform/Volume.h"
#include "snapshot/ImageScanner.h"
#include "snapshot/ScanSource.h"
#include "snapshot/SnapshotFile.h"

namespace movra {

DiscProposal ProposeDisc(std::string_view scan_path, const VolumeReader& read_volume, DateTime now) {
  std::string label;
  std::uint32_t serial = 0;
  const bool known = read_volume && read_volume(DriveTextOf(scan_path), label, serial);
  if (!known) label.clear();
  DiscProposal proposal;
  proposal.name = ProposedDiscName(scan_path, label);
  proposal.date_text = DateTimeToText(now);
  proposal.memo_lines = ProposedMemoLines(known ? std::optional<std::uint32_t>(serial) : std::nullopt, proposal.name);
  return proposal;
}

DiscProposal ProposeImageDisc(const std::string& native_image, DateTime now) {
  const std::optional<ImageVolume> volume = ReadImageVolume(native_image);
  DiscProposal proposal;
  proposal.name = !volume || volume->label.empty() ? std::string(kDefaultDiscName) : volume->label;
  proposal.date_text = DateTimeToText(now);
  proposal.memo_lines = ProposedMemoLines(volume ? volume->serial : std::nullopt, proposal.name);
  return proposal;
}

VolumeReader VolumeReaderOf(const DriveMap& drives) {
  return [&drives](std::string_view drive_text, std::string& label, std::uint32_t& serial) {
    return ReadVolumeInfo(drives, drive_text, label, serial);
  };
}

DiscProposal ProposeForSource(const DriveMap& drives, std::string_view source, const VolumeReader& read_volume,
                              DateTime now) {
  const std::optional<std::string> image = ImageFileOf(drives, source);
  return image ? ProposeImageDisc(*image, now) : ProposeDisc(source, read_volume, now);
}

DiscProposal ProposeImport(std::string_view stem, DateTime now) {
  return {std::string(stem), DateTimeToText(now), ProposedMemoLines(std::nullopt, stem)};
}

WorkflowResult ScanMedium(SnapshotIndex& index, const DriveMap& drives, std::string_view source,
                          const ScanCallback& progress, const ScanExclusions& exclude) {
  switch (ScanDisc(index, drives, source, progress, exclude)) {
    case DiscScanResult::kScanned:
      break;
    case DiscScanResult::kCancelled:
      return {Outcome::kCancelled, {}};
    case DiscScanResult::kNothingFound:
      return {Outcome::kNothingFound, Utf8ToGbk("扫描路径中没有找到任何文件或文件夹！")};
    case DiscScanResult::kUnreadableImage:
      return {Outcome::kFailed, Utf8ToGbk(kUnreadableImageMessage)};
  }
  return {};
}

std::string AddDiscRefusalText(DiscInputProblem problem) {
  switch (problem) {
    case DiscInputProblem::kInvalidName:
      return Utf8ToGbk("请修改光盘名称：包含无效字符！");
    case DiscInputProblem::kIncomplete:
      return Utf8ToGbk("光盘信息不完整，请检查！");
    case DiscInputProblem::kNameTooLong:
      return Utf8ToGbk("请修改光盘名称：名称太长，无法用作快照文件名！");
    case DiscInputProblem::kNameTaken:
      return Utf8ToGbk("光盘名称已存在！");
    case DiscInputProblem::kNone:
      break;
  }
  return {};
}

WorkflowResult CheckNewDisc(Workspace& work, const DiscInput& input, std::string_view scan_path_text) {
  if (WorkflowResult editable = CheckEditable(work); !editable.ok()) return editable;
  const DiscInputProblem problem = CheckDiscInput(work.catalogue, input, scan_path_text);
  if (problem != DiscInputProblem::kNone) return {Outcome::kRefused, AddDiscRefusalText(problem)};
  if (!work.catalogue.ResolvePath(input.category_path, false)) {
    return {Outcome::kNotFound, Utf8ToGbk("无法确定光盘的分类，添加失败！")};
  }
  return {};
}

WorkflowResult CheckNewDisc(Workspace& work, const DriveMap& drives, const DiscInput& input,
                            std::string_view scan_path_utf8) {
  if (WorkflowResult checked = CheckNewDisc(work, input, scan_path_utf8); !checked.ok()) return checked;
  return CheckScanPath(drives, scan_path_utf8);
}

WorkflowResult ScanAndFileNewDisc(Workspace& work, const DriveMap& drives, const DiscInput& input,
                                  std::string_view source, SnapshotIndex& index, const ScanCallback& progress,
                                  const ScanExclusions& exclude) {
  if (WorkflowResult scanned = ScanMedium(index, drives, source, progress, exclude); !scanned.ok()) return scanned;
  return FileNewDisc(work, input, index);
}

WorkflowResult FileNewDisc(Workspace& work, const DiscInput& input, const SnapshotIndex& scanned,
                           std::string (*refusal)(DiscInputProblem)) {
  CatalogueEdit edit = CatalogueEdit::Begin(work);
  if (!edit.ok()) return edit.Refusal();
  // The scan took long: the checks made before it are made again against
  // the catalogue as it is now, so that no other disc's snapshot is overwritten.
  const DiscInputProblem problem = CheckDiscInput(work.catalogue, input, std::nullopt);
  if (problem != DiscInputProblem::kNone) return edit.Finish({Outcome::kRefused, refusal(problem)});
  const Element category = work.catalogue.ResolvePath(input.category_path, false);
  if (!category) return edit.Finish({Outcome::kNotFound, Utf8ToGbk("无法确定光盘的分类，添加失败！")});
  if (std::string error = EnsureDataFolder(work.data_folder); !error.empty()) {
    return edit.Finish({Outcome::kFailed, error});
  }

  // A disc is catalogued only with its whole snapshot on disk.
  const std::string name = CleanName(input.name_text);
  const std::string file = FsPathOf(SnapshotFileOf(work, name));
  if (!WriteSnapshot(scanned, file)) return edit.Finish({Outcome::kFailed, Utf8ToGbk("写入光盘快照文件时产生错误！")});
  CatalogueDisc(work.catalogue, category, input);
  if (WorkflowResult saved = SaveOrRestore(work); !saved.ok()) {
    Fs().DeleteFile(file);
    return edit.Finish(saved);
  }
  WorkflowResult filed = edit.Finish({});
  if (work.observer) work.observer->SnapshotWritten(name);
  return filed;
}

}  // namespace movra
