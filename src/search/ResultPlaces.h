// Where a row of the search results lies: the disc header it belongs to, the
// disc's catalogue place, and the row as a line of copied text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "search/SearchResults.h"

namespace movra {

// The place of one results row.
struct ResultPlace {
  bool is_header = false;     // the row is a disc header
  bool is_group = false;      // the row heads a group of duplicates: it has no disc
  std::string disc_path;      // the header's text inside "[ " and " ]": category path and disc name
  std::string disc;           // the disc name (the last part of disc_path)
  std::vector<std::string> categories;  // the category names in disc_path, from the top
  std::string folder;         // the entry's folder key ("E:\VIDEO\"); empty for a header
  std::string name;           // the entry's name; empty for a header
};

// The names of a backslash-separated GBK path, GBK-aware (the second byte of
// a double-byte character is never a separator); empty names are dropped.
std::vector<std::string> SplitPath(std::string_view path);

// The place of row; a row before any header gets an empty disc.
ResultPlace PlaceOf(const SearchResults& rows, std::size_t row);

// The row as one line of text: disc path, a backslash, folder and name, a tab
// and the size as the list shows it; a header row gives its disc path alone.
std::string CopyLine(const SearchResults& rows, std::size_t row);

}  // namespace movra
