#include "search/SearchResults.h"

#include <cstring>

namespace movra {

SearchRow& SearchResults::NewRow() {
  if (size_ == row_blocks_.size() * kRowsPerBlock)
    row_blocks_.push_back(std::make_unique_for_overwrite<SearchRow[]>(kRowsPerBlock));
  SearchRow& row = row_blocks_[size_ / kRowsPerBlock][size_ % kRowsPerBlock];
  ++size_;
  row = SearchRow();
  return row;
}

char* SearchResults::Reserve(size_t length) {
  if (length > text_left_) {
    // A text too large for a block of its own share gets a block of its own,
    // and the current block stays open for the texts that follow.
    if (length > kTextBlockSize / 4) {
      text_blocks_.push_back(std::make_unique_for_overwrite<char[]>(length));
      return text_blocks_.back().get();
    }
    text_blocks_.push_back(std::make_unique_for_overwrite<char[]>(kTextBlockSize));
    text_free_ = text_blocks_.back().get();
    text_left_ = kTextBlockSize;
  }
  char* const at = text_free_;
  text_free_ += length;
  text_left_ -= length;
  return at;
}

const char* SearchResults::Store(std::string_view text) {
  if (text.empty()) return "";
  char* const at = Reserve(text.size());
  std::memcpy(at, text.data(), text.size());
  return at;
}

void SearchResults::AddDisc(std::string_view label) {
  const size_t length = label.size() + 4;
  char* const at = Reserve(length);
  std::memcpy(at, "[ ", 2);
  std::memcpy(at + 2, label.data(), label.size());
  std::memcpy(at + 2 + label.size(), " ]", 2);
  SearchRow& row = NewRow();
  row.kind = RowKind::kDisc;
  row.name = at;
  row.name_length = static_cast<std::uint32_t>(length);
  row.folder = "";
}

void SearchResults::AddGroup(std::string_view label, std::int64_t size) {
  SearchRow& row = NewRow();
  row.kind = RowKind::kGroup;
  row.name = Store(label);
  row.name_length = static_cast<std::uint32_t>(label.size());
  row.folder = "";
  row.size = size;
}

void SearchResults::AddEntry(bool is_file, std::string_view name, std::string_view folder, std::int64_t size,
                             DateTime modified) {
  // An empty folder may come with no data pointer at all: compare views, not raw memory.
  const bool same_folder =
      last_folder_ != nullptr && std::string_view(last_folder_, last_folder_length_) == folder;
  if (!same_folder) {
    last_folder_ = Store(folder);
    last_folder_length_ = static_cast<std::uint32_t>(folder.size());
  }
  SearchRow& row = NewRow();
  row.kind = is_file ? RowKind::kFile : RowKind::kFolder;
  row.size = is_file ? size : 0;
  row.modified = modified;
  row.folder = last_folder_;
  row.folder_length = last_folder_length_;
  row.name = Store(name);
  row.name_length = static_cast<std::uint32_t>(name.size());
}

void SearchResults::Clear() {
  row_blocks_.clear();
  row_blocks_.shrink_to_fit();
  size_ = 0;
  text_blocks_.clear();
  text_blocks_.shrink_to_fit();
  text_free_ = nullptr;
  text_left_ = 0;
  last_folder_ = nullptr;
  last_folder_length_ = 0;
}

}  // namespace movra
