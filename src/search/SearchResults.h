// The rows of the search results list, kept compact so that a search that
// finds millions of entries stays small: each row holds numbers and the
// places of its texts in one shared pool, and consecutive rows of the same
// folder share one copy of the folder's path. The list view formats the
// columns from these rows when it draws them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"

namespace movra {

// What a results row stands for.
enum class RowKind : std::uint8_t {
  kDisc,    // the header row of one searched disc
  kFile,    // a matching file entry
  kFolder,  // a matching folder entry
};

// One row; its texts are read through SearchResults::Name and ::Folder.
struct SearchRow {
  std::uint64_t name_offset = 0;
  std::uint64_t folder_offset = 0;
  std::int64_t size = 0;     // file size; 0 for folders and disc headers
  DateTime modified = 0;     // modification time; 0 for disc headers
  std::uint32_t name_length = 0;
  std::uint32_t folder_length = 0;
  RowKind kind = RowKind::kFile;
};

class SearchResults {
 public:
  // Number of rows.
  size_t size() const { return rows_.size(); }
  // True when there is no row.
  bool empty() const { return rows_.empty(); }
  // The row at index (index < size()).
  const SearchRow& operator[](size_t index) const { return rows_[index]; }
  // The 名称 text: the entry name, or "[ " + category path + disc name + " ]"
  // for a disc header. Valid until the next row is added or the rows cleared.
  std::string_view Name(const SearchRow& row) const { return Text(row.name_offset, row.name_length); }
  // The 所在文件夹 text: the entry's folder with its trailing backslash; empty for a disc header.
  std::string_view Folder(const SearchRow& row) const { return Text(row.folder_offset, row.folder_length); }

  // Adds the header row of a disc, captioned "[ " + label + " ]".
  void AddDisc(std::string_view label);
  // Adds the row of a matching entry.
  void AddEntry(bool is_file, std::string_view name, std::string_view folder, std::int64_t size,
                DateTime modified);
  // Removes every row and releases the pool.
  void Clear();

 private:
  std::string_view Text(std::uint64_t offset, std::uint32_t length) const {
    return std::string_view(pool_).substr(offset, length);
  }
  std::uint64_t Store(std::string_view text);

  std::vector<SearchRow> rows_;
  std::string pool_;
  // The folder text stored last, reused while the next rows share it.
  std::uint64_t last_folder_offset_ = 0;
  std::uint32_t last_folder_length_ = 0;
};

}  // namespace movra
