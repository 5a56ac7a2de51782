// The rows of the search results list, kept compact so that a search that
// finds millions of entries stays small: each row holds numbers and the
// places of its texts in a shared text store, and consecutive rows of the
// same folder share one copy of the folder's path. Rows and texts live in
// fixed blocks that never move, so a growing list is never copied and the
// texts of earlier rows stay valid while rows are added. The list view
// formats the columns from these rows when it draws them.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/DateTime.h"

namespace movra {

// What a results row stands for.
enum class RowKind : std::uint8_t {
  kDisc,    // the header row of one searched disc
  kFile,    // a matching file entry
  kFolder,  // a matching folder entry
  kGroup,   // the header row of a group of duplicate files (its size is theirs)
};

// One row; its texts are read through SearchResults::Name and ::Folder.
struct SearchRow {
  const char* name = nullptr;
  const char* folder = nullptr;
  std::int64_t size = 0;  // file size; 0 for folders and disc headers
  DateTime modified = 0;  // modification time; 0 for disc headers
  std::uint32_t name_length = 0;
  std::uint32_t folder_length = 0;
  RowKind kind = RowKind::kFile;
};

class SearchResults {
 public:
  SearchResults() = default;
  // Not copyable: rows point into the object's own blocks.
  SearchResults(const SearchResults&) = delete;
  SearchResults& operator=(const SearchResults&) = delete;

  // Number of rows.
  size_t size() const { return size_; }
  // True when there is no row.
  bool empty() const { return size_ == 0; }
  // The row at index (index < size()).
  const SearchRow& operator[](size_t index) const { return row_blocks_[index / kRowsPerBlock][index % kRowsPerBlock]; }
  // The 名称 text: the entry name, or "[ " + category path + disc name + " ]"
  // for a disc header. Valid until the rows are cleared.
  static std::string_view Name(const SearchRow& row) { return {row.name, row.name_length}; }
  // The 所在文件夹 text: the entry's folder with its trailing backslash; empty for a disc header.
  static std::string_view Folder(const SearchRow& row) { return {row.folder, row.folder_length}; }

  // Adds the header row of a disc, captioned "[ " + label + " ]".
  void AddDisc(std::string_view label);
  // Adds the header row of a group of duplicates, captioned label, with the size of each copy.
  void AddGroup(std::string_view label, std::int64_t size);
  // Adds the row of a matching entry.
  void AddEntry(bool is_file, std::string_view name, std::string_view folder, std::int64_t size,
                DateTime modified);
  // Removes every row and releases the memory.
  void Clear();

 private:
  static constexpr size_t kRowsPerBlock = 8192;
  static constexpr size_t kTextBlockSize = 1 << 20;

  SearchRow& NewRow();
  // Room for length bytes of text that stay in place.
  char* Reserve(size_t length);
  const char* Store(std::string_view text);

  std::vector<std::unique_ptr<SearchRow[]>> row_blocks_;
  size_t size_ = 0;
  std::vector<std::unique_ptr<char[]>> text_blocks_;
  char* text_free_ = nullptr;  // the unused rest of the current text block
  size_t text_left_ = 0;
  // The folder text stored last, reused while the next rows share it.
  const char* last_folder_ = nullptr;
  std::uint32_t last_folder_length_ = 0;
};

}  // namespace movra
