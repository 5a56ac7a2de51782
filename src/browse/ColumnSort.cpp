#include "browse/ColumnSort.h"

#include <algorithm>
#include <utility>

#include "browse/DisplayFormat.h"
#include "platform/Collation.h"

namespace movra {

SortKey SortKeyOfCaption(std::string_view caption) {
  if (caption == kColumnName) return SortKey::Name;
  if (caption == kColumnSize) return SortKey::Size;
  if (caption == kColumnModified) return SortKey::Date;
  if (caption == kColumnType) return SortKey::Icon;
  return SortKey::None;
}

int ArrangeColumn(ArrangeCommand command) {
  switch (command) {
    case ArrangeCommand::ByName: return 0;
    case ArrangeCommand::BySize: return 1;
    case ArrangeCommand::ByDate: return 2;
    case ArrangeCommand::ByType: return 3;
  }
  return 0;
}

namespace {

SortItem Capture(ListRow&& row) {
  SortItem item;
  item.icon = row.icon;
  item.foldedName = LowerAscii(row.caption);
  item.name = std::move(row.caption);
  item.hasSubItems = row.hasSubItems;
  if (row.hasSubItems) {
    item.size = ParseSize(row.subItems[0]);
    item.date = std::move(row.subItems[1]);
    item.type = std::move(row.subItems[2]);
  }
  return item;
}

// std::string compares as unsigned bytes, a proper prefix first.
void SortBy(std::vector<SortItem>& items, SortKey key) {
  auto by = [&items](auto less) { std::stable_sort(items.begin(), items.end(), less); };
  switch (key) {
    case SortKey::Name: by([](const SortItem& a, const SortItem& b) { return a.foldedName < b.foldedName; }); break;
    case SortKey::Size: by([](const SortItem& a, const SortItem& b) { return a.size < b.size; }); break;
    case SortKey::Date: by([](const SortItem& a, const SortItem& b) { return a.date < b.date; }); break;
    case SortKey::Icon: by([](const SortItem& a, const SortItem& b) { return a.icon < b.icon; }); break;
    case SortKey::None: break;
  }
}

void AppendBack(ListModel& model, SortItem& item, bool folder) {
  if (!item.hasSubItems) {
    // Caption-only rows (disc information left in the list) stay caption-only.
    model.AppendCaption(std::move(item.name), item.icon);
    return;
  }
  // Folders keep their empty size text; a file of 0 bytes keeps "0 KB".
  std::string size = (!folder || item.size > 0) ? FormatSize(item.size) : std::string();
  model.AppendRow(std::move(item.name), item.icon, std::move(size), std::move(item.date), std::move(item.type));
}

}  // namespace

bool ColumnSorter::Sort(ListModel& model, std::string_view caption, int folderIcon, bool categoryOrDiscShown) {
  if (categoryOrDiscShown) return false;
  folders_.clear();
  files_.clear();
  for (ListRow& row : model.TakeRows()) (row.icon == folderIcon ? folders_ : files_).push_back(Capture(std::move(row)));

  const SortKey key = SortKeyOfCaption(caption);
  SortBy(folders_, key);
  SortBy(files_, key);
  if (reversed_) {
    std::reverse(folders_.begin(), folders_.end());
    std::reverse(files_.begin(), files_.end());
  }

  model.Reserve(folders_.size() + files_.size());
  for (SortItem& item : folders_) AppendBack(model, item, true);
  for (SortItem& item : files_) AppendBack(model, item, false);
  folders_.clear();
  files_.clear();
  reversed_ = !reversed_;
  return true;
}

}  // namespace movra
