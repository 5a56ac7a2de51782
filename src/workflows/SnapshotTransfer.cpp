#include "workflows/SnapshotTransfer.h"

#include <cctype>
#include <optional>

#include "platform/FileSystem.h"
#include "snapshot/SnapshotFile.h"

namespace movra {

std::string FileStemOf(std::string_view path) {
  const std::size_t slash = path.rfind(kPathSeparator);
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return std::string(name);
  const std::string_view extension = name.substr(dot);
  return std::string(name.substr(0, name.find(extension)));
}

std::string CaseBlindWildcard(std::string_view wildcard) {
  std::string result;
  bool in_patterns = false;  // descriptions and pattern lists alternate, separated by '|'
  for (std::size_t i = 0; i < wildcard.size(); ++i) {
    const char c = wildcard[i];
    const auto byte = static_cast<unsigned char>(c);
    if (c == '|') {
      in_patterns = !in_patterns;
      result += c;
    } else if (byte >= 0x81 && byte <= 0xFE && i + 1 < wildcard.size()) {
      result += wildcard.substr(i, 2);  // a double-byte character is never a letter
      ++i;
    } else if (in_patterns && std::isalpha(byte)) {
      result += '[';
      result += static_cast<char>(std::tolower(byte));
      result += static_cast<char>(std::toupper(byte));
      result += ']';
    } else {
      result += c;
    }
  }
  return result;
}

ImportCopyResult CopySnapshotIn(const std::string& from, const std::string& target) {
  SnapshotIndex scratch;
  if (!ReadSnapshot(scratch, from)) return ImportCopyResult::kUnreadable;
  if (!Fs().CopyFile(from, target, /*fail_if_exists=*/true)) return ImportCopyResult::kCopyFailed;
  return ImportCopyResult::kCopied;
}

ExportOutcome ExportSnapshot(SnapshotIndex& index, bool index_holds_source, const std::string& source,
                             const std::string& target) {
  ExportOutcome outcome;
  outcome.index_loaded = index_holds_source;
  if (!outcome.index_loaded) {
    index.Clear();
    outcome.index_loaded = ReadSnapshot(index, source);
  }
  if (outcome.index_loaded) {
    outcome.written = WriteSnapshot(index, target);
  } else {
    const std::optional<std::string> bytes = Fs().ReadFile(source);
    outcome.written = bytes && Fs().WriteFileAtomic(target, *bytes);
  }
  return outcome;
}

}  // namespace movra
