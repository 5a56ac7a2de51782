#include "search/SearchResults.h"

#include <cstring>

namespace movra {

std::uint64_t SearchResults::Store(std::string_view text) {
  const std::uint64_t offset = pool_.size();
  pool_.append(text);
  return offset;
}

void SearchResults::AddDisc(std::string_view label) {
  SearchRow row;
  row.kind = RowKind::kDisc;
  row.name_offset = pool_.size();
  pool_.append("[ ");
  pool_.append(label);
  pool_.append(" ]");
  row.name_length = static_cast<std::uint32_t>(pool_.size() - row.name_offset);
  rows_.push_back(row);
}

void SearchResults::AddEntry(bool is_file, std::string_view name, std::string_view folder, std::int64_t size,
                             DateTime modified) {
  SearchRow row;
  row.kind = is_file ? RowKind::kFile : RowKind::kFolder;
  row.size = is_file ? size : 0;
  row.modified = modified;
  const bool same_folder = folder.size() == last_folder_length_ && !folder.empty() &&
                           std::memcmp(pool_.data() + last_folder_offset_, folder.data(), folder.size()) == 0;
  if (!same_folder) {
    last_folder_offset_ = Store(folder);
    last_folder_length_ = static_cast<std::uint32_t>(folder.size());
  }
  row.folder_offset = last_folder_offset_;
  row.folder_length = last_folder_length_;
  row.name_offset = Store(name);
  row.name_length = static_cast<std::uint32_t>(name.size());
  rows_.push_back(row);
}

void SearchResults::Clear() {
  std::vector<SearchRow>().swap(rows_);
  std::string().swap(pool_);
  last_folder_offset_ = 0;
  last_folder_length_ = 0;
}

}  // namespace movra
