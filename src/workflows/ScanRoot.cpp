#include "workflows/ScanRoot.h"

#include <vector>

#include "catalog/NameRules.h"
#include "platform/TextCodec.h"
#include "snapshot/ScanSource.h"
#include "workflows/DiscEntry.h"

namespace movra {
namespace {

// The names of a path, split at separator (UTF-8, so no byte of a character is taken for it).
std::vector<std::string_view> PartsOf(std::string_view path, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(separator, start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::optional<ScanRootFault> FaultOf(std::string_view name) {
  for (char c : name) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '|' || c == '\\') return ScanRootFault::kBarOrBackslash;
    if (u < 0x20 || u == 0x7F) return ScanRootFault::kControl;
  }
  if (!GbkFormOf(name)) return ScanRootFault::kNotGbk;
  return std::nullopt;
}

std::optional<ScanRootProblem> CheckParts(std::string_view recorded, char separator) {
  for (std::string_view part : PartsOf(recorded, separator)) {
    const std::optional<ScanRootFault> fault = FaultOf(part);
    if (!fault) continue;
    std::string shown = Utf8ToGbk(part);
    for (char& c : shown)
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return ScanRootProblem{*fault, shown};
  }
  return std::nullopt;
}

}  // namespace

std::optional<ScanRootProblem> CheckScanRoot(const DriveMap& drives, std::string_view utf8_text) {
  if (utf8_text.empty()) return std::nullopt;
  if (utf8_text.front() == '/') {
    // The mount point stays native and is never recorded; what lies below it is.
    const std::optional<std::string> mount = drives.MountHolding(utf8_text);
    if (!mount) return std::nullopt;
    std::string_view below = utf8_text;
    if (*mount != "/") {
      // The path may repeat slashes the mount point does not have; skip names, not bytes.
      std::size_t names = PartsOf(*mount, '/').size();
      std::size_t at = 0;
      while (names > 0 && at < below.size()) {
        while (at < below.size() && below[at] == '/') ++at;
        while (at < below.size() && below[at] != '/') ++at;
        --names;
      }
      below = below.substr(at);
    }
    return CheckParts(below, '/');
  }
  if (DriveLetterOf(utf8_text) == 0) return std::nullopt;
  return CheckParts(DrivePathWithBackslashes(utf8_text.substr(2)), '\\');
}

std::string ScanRootMessage(const ScanRootProblem& problem) {
  std::string why;
  switch (problem.fault) {
    case ScanRootFault::kBarOrBackslash:
      why = "含有字符 | 或 \\";
      break;
    case ScanRootFault::kControl:
      why = "含有控制字符";
      break;
    case ScanRootFault::kNotGbk:
      why = "含有简体中文编码(GBK)以外的字符";
      break;
  }
  return Utf8ToGbk("扫描路径中的“") + problem.part + Utf8ToGbk("”" + why + "，无法记录，请选择其他文件夹！");
}

std::optional<std::string> DriveFormOf(const DriveMap& drives, std::string_view utf8_text) {
  if (utf8_text.empty() || utf8_text.front() != '/' || CheckScanRoot(drives, utf8_text)) return std::nullopt;
  return drives.DrivePathOf(utf8_text);
}

std::string ScanSourceOf(const DriveMap& drives, std::string_view utf8_text) {
  if (utf8_text.empty()) return {};
  if (utf8_text.front() == '/') {
    // A native path that no drive path can stand for is scanned by its native name.
    const std::optional<std::string> drive_form = DriveFormOf(drives, utf8_text);
    return drive_form ? WithTrailingBackslash(*drive_form) : std::string(utf8_text);
  }
  return WithTrailingBackslash(Utf8ToGbk(DrivePathWithBackslashes(utf8_text)));
}

std::string ScanTextOf(std::string_view source) {
  return DriveLetterOf(source) != 0 ? GbkToUtf8(source) : std::string(source);
}

WorkflowResult CheckScanPath(const DriveMap& drives, std::string_view utf8_text) {
  if (ImageFileOf(drives, ScanSourceOf(drives, utf8_text))) return {};
  const std::optional<ScanRootProblem> problem = CheckScanRoot(drives, utf8_text);
  if (!problem) return {};
  return {Outcome::kRefused, ScanRootMessage(*problem)};
}

std::string ProposedDiscName(std::string_view scan_path, std::string_view label) {
  const char letter = DriveLetterOf(scan_path);
  if (letter != 'Z') return label.empty() ? std::string(kDefaultDiscName) : std::string(label);
  // The last name of the path; a GBK trail byte may be 0x5C and is no separator.
  std::string_view last;
  std::size_t name_start = 2;
  for (std::size_t i = name_start; i <= scan_path.size(); ++i) {
    if (i == scan_path.size() || scan_path[i] == '\\') {
      if (i > name_start) last = scan_path.substr(name_start, i - name_start);
      name_start = i + 1;
    } else if (static_cast<unsigned char>(scan_path[i]) >= 0x81 && i + 1 < scan_path.size()) {
      ++i;
    }
  }
  return last.empty() ? std::string(kDefaultDiscName) : std::string(last);
}

}  // namespace movra
