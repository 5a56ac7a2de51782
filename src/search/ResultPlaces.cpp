#include "search/ResultPlaces.h"

#include "browse/DisplayFormat.h"

namespace movra {
namespace {

// The header text without its "[ " and " ]".
std::string DiscPathOf(std::string_view header) {
  if (header.size() >= 4 && header.substr(0, 2) == "[ " && header.substr(header.size() - 2) == " ]")
    header = header.substr(2, header.size() - 4);
  return std::string(header);
}

// Splits a category path at its backslashes. A backslash is never the
// trail byte of a GBK character in a category or disc name (names are checked
// when they are made), so a plain split is safe.
std::vector<std::string> Parts(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at = path.find('\\'); at != std::string_view::npos; at = path.find('\\', start)) {
    if (at > start) parts.emplace_back(path.substr(start, at - start));
    start = at + 1;
  }
  if (start < path.size()) parts.emplace_back(path.substr(start));
  return parts;
}

}  // namespace

ResultPlace PlaceOf(const SearchResults& rows, std::size_t row) {
  ResultPlace place;
  if (row >= rows.size()) return place;
  const SearchRow& own = rows[row];
  place.is_header = own.kind == RowKind::kDisc;
  if (!place.is_header) {
    place.folder = std::string(SearchResults::Folder(own));
    place.name = std::string(SearchResults::Name(own));
  }
  for (std::size_t i = row + 1; i-- > 0;) {
    if (rows[i].kind != RowKind::kDisc) continue;
    place.disc_path = DiscPathOf(SearchResults::Name(rows[i]));
    place.categories = Parts(place.disc_path);
    if (!place.categories.empty()) {
      place.disc = place.categories.back();
      place.categories.pop_back();
    }
    break;
  }
  return place;
}

std::string CopyLine(const SearchResults& rows, std::size_t row) {
  const ResultPlace place = PlaceOf(rows, row);
  if (place.is_header) return place.disc_path;
  const SearchRow& own = rows[row];
  return place.disc_path + '\\' + place.folder + place.name + '\t' + FormatSize(own.size);
}

}  // namespace movra
