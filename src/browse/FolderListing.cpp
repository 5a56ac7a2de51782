#include "browse/FolderListing.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "browse/DisplayFormat.h"
#include "platform/Collation.h"
#include "snapshot/SnapshotIndex.h"

namespace movra {
namespace {

// Labels of the disc information page (GBK): 光盘名：, 存档日期：, 备  注：.
constexpr std::string_view kLabelName = "\xB9\xE2\xC5\xCC\xC3\xFB\xA3\xBA";
constexpr std::string_view kLabelDate = "\xB4\xE6\xB5\xB5\xC8\xD5\xC6\xDA\xA3\xBA";
constexpr std::string_view kLabelMemo = "\xB1\xB8\x20\x20\xD7\xA2\xA3\xBA";
// Status texts (GBK): 选定了 and 个对象.
constexpr std::string_view kSelectedPrefix = "\xD1\xA1\xB6\xA8\xC1\xCB";
constexpr std::string_view kObjects = "\xB8\xF6\xB6\xD4\xCF\xF3";
// Memo lines are stored one after another, each ended by this marker.
constexpr std::string_view kMemoSeparator = "nbsp";

}  // namespace

std::string_view ExtensionOf(std::string_view name) {
  // '.' is never the trail byte of a GBK character, so a plain search is safe.
  const std::size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::vector<SnapshotEntry> FolderEntries(const SnapshotIndex& index, std::string_view folder) {
  std::vector<FolderItem> folders;
  index.ListFolders(folder, folders);
  // Locale order through sort keys: each name is converted once.
  std::vector<std::pair<std::string, std::size_t>> keys;
  keys.reserve(folders.size());
  for (std::size_t i = 0; i < folders.size(); ++i) keys.emplace_back(CollationKey(folders[i].name), i);
  std::sort(keys.begin(), keys.end());
  std::vector<FileItem> files;
  index.ListFiles(folder, files);

  std::vector<SnapshotEntry> entries;
  entries.reserve(folders.size() + files.size());
  for (const auto& key : keys) {
    FolderItem& f = folders[key.second];
    entries.push_back(SnapshotEntry{std::move(f.name), f.modified, false, 0});
  }
  for (FileItem& f : files) entries.push_back(SnapshotEntry{std::move(f.name), f.modified, true, f.size});
  return entries;
}

void BuildFolderListing(const SnapshotIndex& index, std::string_view folder, const ListingIcons& icons,
                        ListModel& model) {
  model.Clear();
  std::vector<SnapshotEntry> entries = FolderEntries(index, folder);
  model.Reserve(entries.size());
  for (SnapshotEntry& e : entries) {
    if (!e.isFile) {
      model.AppendRow(std::move(e.name), icons.folderIcon, std::string(), FormatDate(e.modified),
                      std::string(kTypeFolder));
      continue;
    }
    const int icon = icons.iconOfExtension ? icons.iconOfExtension(ExtensionOf(e.name)) : -1;
    model.AppendRow(std::move(e.name), icon, FormatSize(e.size), FormatDate(e.modified), std::string(kTypeFile));
  }
}

std::vector<std::string> MemoLines(std::string_view memo) {
  std::vector<std::string> lines;
  std::size_t at = memo.find(kMemoSeparator);
  if (at == std::string_view::npos) {
    lines.emplace_back(memo);
    return lines;
  }
  std::size_t start = 0;
  while (at != std::string_view::npos) {
    lines.emplace_back(memo.substr(start, at - start));
    start = at + kMemoSeparator.size();
    at = memo.find(kMemoSeparator, start);
  }
  // Memos written here end every line with the marker; text after the last
  // one (a memo edited elsewhere) is still the user's and is shown too.
  if (start < memo.size()) lines.emplace_back(memo.substr(start));
  return lines;
}

void BuildDiscInformation(std::string_view title, std::string_view time, std::string_view memo, int textFileIcon,
                          ListModel& model) {
  model.Clear();
  model.AppendCaption(std::string(kLabelName), textFileIcon);
  model.AppendCaption(std::string(title), -1);
  model.AppendCaption(std::string(kLabelDate), textFileIcon);
  model.AppendCaption(std::string(time), -1);
  model.AppendCaption(std::string(kLabelMemo), textFileIcon);
  for (std::string& line : MemoLines(memo)) model.AppendCaption(std::move(line), -1);
}

std::optional<StatusTexts> ComputeStatus(const ListModel& model, ShownNodeKind kind) {
  if (model.Empty() || kind == ShownNodeKind::None || kind == ShownNodeKind::Category ||
      kind == ShownNodeKind::Disc)
    return std::nullopt;
  const std::size_t selected = model.SelectedCount();
  const bool listing = kind == ShownNodeKind::RootFolder || kind == ShownNodeKind::Folder;
  if (selected == 0 && !listing) return StatusTexts{};

  // A 64-bit total, so that selections of 2 GiB and more add up correctly.
  std::int64_t total = 0;
  for (std::size_t i = 0; i < model.Count(); ++i)
    if (selected == 0 || model.IsSelected(i)) total += ParseSize(model.SubItem(i, 0));

  StatusTexts texts;
  if (selected > 0)
    texts.count = std::string(kSelectedPrefix) + std::to_string(selected) + std::string(kObjects);
  else
    texts.count = std::to_string(model.Count()) + std::string(kObjects);
  texts.total = FormatTotalSize(total);
  return texts;
}

}  // namespace movra
