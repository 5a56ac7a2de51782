#include "browse/ListModel.h"

#include <utility>

namespace movra {

void ListModel::Clear() {
  rows_.clear();
  selectedCount_ = 0;
}

void ListModel::Append(ListRow row) {
  if (row.selected) ++selectedCount_;
  rows_.push_back(std::move(row));
}

void ListModel::AppendCaption(std::string caption, int icon) {
  ListRow row;
  row.caption = std::move(caption);
  row.icon = icon;
  rows_.push_back(std::move(row));
}

void ListModel::AppendRow(std::string caption, int icon, std::string size, std::string date, std::string type,
                          std::int64_t bytes) {
  ListRow row;
  row.caption = std::move(caption);
  row.icon = icon;
  row.hasSubItems = true;
  row.subItems = {std::move(size), std::move(date), std::move(type)};
  row.bytes = bytes;
  rows_.push_back(std::move(row));
}

std::vector<ListRow> ListModel::TakeRows() {
  std::vector<ListRow> rows = std::move(rows_);
  rows_.clear();
  selectedCount_ = 0;
  return rows;
}

const std::string& ListModel::SubItem(std::size_t i, std::size_t k) const {
  static const std::string kNone;
  const ListRow& row = rows_[i];
  if (!row.hasSubItems || k >= kSubItemCount) return kNone;
  return row.subItems[k];
}

bool ListModel::SetSelected(std::size_t i, bool selected) {
  ListRow& row = rows_[i];
  if (row.selected == selected) return false;
  row.selected = selected;
  if (selected)
    ++selectedCount_;
  else
    --selectedCount_;
  return true;
}

void ListModel::SelectAll() {
  for (ListRow& row : rows_) row.selected = true;
  selectedCount_ = rows_.size();
}

void ListModel::SelectNone() {
  for (ListRow& row : rows_) row.selected = false;
  selectedCount_ = 0;
}

void ListModel::InvertSelection() {
  for (ListRow& row : rows_) row.selected = !row.selected;
  selectedCount_ = rows_.size() - selectedCount_;
}

std::optional<std::size_t> ListModel::FirstSelected() const {
  if (selectedCount_ == 0) return std::nullopt;
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].selected) return i;
  return std::nullopt;
}

std::vector<std::size_t> ListModel::SelectedIndexes() const {
  std::vector<std::size_t> out;
  out.reserve(selectedCount_);
  for (std::size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].selected) out.push_back(i);
  return out;
}

}  // namespace movra
