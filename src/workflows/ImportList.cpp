#include "workflows/ImportList.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <vector>

#include "lists/EfuList.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "search/ResultPlaces.h"
#include "snapshot/ImageScanner.h"
#include "workflows/AddDisc.h"
#include "workflows/ImportSnapshot.h"

namespace movra {
namespace {

// A row of the list with its path taken apart.
struct ListedEntry {
  std::vector<std::string> parts;  // the path's names, the drive ("C:") first when it has one
  bool is_folder = false;
  std::int64_t size = 0;
  DateTime modified = 0;
};

bool IsDrive(std::string_view part) {
  return part.size() == 2 && part[1] == ':' && ((part[0] >= 'A' && part[0] <= 'Z') || (part[0] >= 'a' && part[0] <= 'z'));
}

// A name as a snapshot line can carry it: a vertical bar or a control byte
// becomes '_', as when a disc is scanned; double-byte characters stay whole.
std::string RecordedName(std::string name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (byte >= 0x81 && byte <= 0xFE && i + 1 < name.size()) {
      ++i;
    } else if (byte < 0x20 || byte == '|') {
      name[i] = '_';
    }
  }
  return name;
}

WorkflowResult TooLong(const std::string& path) {
  return {Outcome::kFailed, Utf8ToGbk("文件列表中的路径太长，无法记录：") + path};
}

}  // namespace

WorkflowResult ReadFileList(std::string_view text, std::string_view root, SnapshotIndex& index) {
  index.Clear();
  std::vector<ListedEntry> entries;
  const EfuReadResult read = ReadEfu(text, [&entries](EfuRow&& row) {
    ListedEntry entry{SplitPath(row.filename), row.IsFolder(), row.IsFolder() ? 0 : row.size.value_or(0),
                      row.modified.value_or(row.created.value_or(0))};
    for (std::string& part : entry.parts) part = RecordedName(std::move(part));
    if (!entry.parts.empty()) entries.push_back(std::move(entry));
  });
  if (!read.ok()) {
    return {Outcome::kFailed,
            Utf8ToGbk("文件列表第 ") + std::to_string(read.bad_line) + Utf8ToGbk(" 行无法识别，没有导入任何内容！")};
  }
  if (entries.empty()) return {Outcome::kNothingFound, Utf8ToGbk("文件列表中没有任何文件或文件夹！")};

  // The folders all rows share, apart for rows with a drive and rows without:
  // the folder a list of a drive was made of, or the catalogue path of the
  // disc (or category) a list of catalogued discs was made of.
  std::optional<std::vector<std::string>> shared[2];  // [0] without a drive, [1] with one
  for (const ListedEntry& entry : entries) {
    std::optional<std::vector<std::string>>& common = shared[IsDrive(entry.parts.front()) ? 1 : 0];
    const std::vector<std::string> folder(entry.parts.begin(), entry.parts.end() - 1);
    if (!common) {
      common = folder;
      continue;
    }
    std::size_t same = 0;
    while (same < common->size() && same < folder.size() && (*common)[same] == folder[same]) ++same;
    common->resize(same);
  }

  // Where each row goes: the base folder it is filed below, and its first name there.
  struct Placed {
    std::string base;
    std::size_t first;
    ListedEntry* entry;
  };
  std::set<std::string> folders;  // every folder filed, as its key ("E:\A\")
  std::vector<Placed> placed;
  for (ListedEntry& entry : entries) {
    Placed place{std::string(root), shared[0] ? shared[0]->size() : 0, &entry};
    if (IsDrive(entry.parts.front())) {
      // Rows with a drive keep their paths; nothing is filed above the folder they share.
      place.base = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(entry.parts.front()[0])))) + ":\\";
      place.first = std::max<std::size_t>(1, shared[1]->size());
      for (std::size_t i = 1; i < place.first; ++i) place.base += (*shared[1])[i] + '\\';
    }
    if (place.first >= entry.parts.size()) continue;  // a drive or a shared folder itself
    std::string path = place.base;
    for (std::size_t i = place.first; i < entry.parts.size(); ++i) path += entry.parts[i] + '\\';
    if (path.size() - entry.parts.back().size() - 1 > SnapshotIndex::kMaxLength ||
        entry.parts.back().size() > SnapshotIndex::kMaxLength) {
      return TooLong(path.substr(0, path.size() - 1));
    }
    if (entry.is_folder) folders.insert(path);
    placed.push_back(std::move(place));
  }
  for (const Placed& place : placed) {
    const ListedEntry& entry = *place.entry;
    // A folder the list holds entries of but does not name is filed with the time of its first entry.
    std::string key = place.base;
    for (std::size_t i = place.first; i + 1 < entry.parts.size(); ++i) {
      const std::string parent = key;
      key += entry.parts[i] + '\\';
      if (folders.insert(key).second) index.AddFolder(parent, entry.parts[i], entry.modified, 0);
    }
    if (entry.is_folder) {
      index.AddFolder(key, entry.parts.back(), entry.modified, 0);
    } else {
      index.AddFile(key, entry.parts.back(), entry.modified, entry.size);
    }
  }
  if (index.Empty()) return {Outcome::kNothingFound, Utf8ToGbk("文件列表中没有任何文件或文件夹！")};
  return {};
}

WorkflowResult ImportFileList(Workspace& work, const DriveMap& drives, const std::string& file,
                              const DiscInput& input) {
  if (WorkflowResult checked = CheckImport(work, input); !checked.ok()) return checked;
  const std::optional<std::string> text = Fs().ReadFile(file);
  if (!text) return {Outcome::kFailed, Utf8ToGbk("无法读取文件列表：") + NativeNameToGbk(file)};
  SnapshotIndex index;
  std::string root = ImageRootKey(drives);
  if (root.empty() || root.back() != '\\') root += '\\';
  if (WorkflowResult listed = ReadFileList(*text, root, index); !listed.ok()) return listed;
  return FileNewDisc(work, input, index, ImportRefusalText);
}

}  // namespace movra
