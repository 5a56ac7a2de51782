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

}  // namespace

std::vector<std::string> SplitPath(std::string_view path) {
  std::vector<std::string> parts;
  std::string part;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const auto byte = static_cast<unsigned char>(path[i]);
    if (byte >= 0x81 && byte <= 0xFE && i + 1 < path.size()) {
      part += path.substr(i, 2);  // a double-byte character, whose second byte may be a backslash
      ++i;
    } else if (path[i] == '\\') {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += path[i];
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

ResultPlace PlaceOf(const SearchResults& rows, std::size_t row) {
  ResultPlace place;
  if (row >= rows.size()) return place;
  const SearchRow& own = rows[row];
  place.is_header = own.kind == RowKind::kDisc;
  if (own.kind == RowKind::kGroup) {
    place.is_group = true;
    place.name = std::string(SearchResults::Name(own));
    return place;
  }
  if (!place.is_header) {
    place.folder = std::string(SearchResults::Folder(own));
    place.name = std::string(SearchResults::Name(own));
  }
  for (std::size_t i = row + 1; i-- > 0;) {
    if (rows[i].kind != RowKind::kDisc) continue;
    place.disc_path = DiscPathOf(SearchResults::Name(rows[i]));
    place.categories = SplitPath(place.disc_path);
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
  if (place.is_group) return place.name;
  const SearchRow& own = rows[row];
  return place.disc_path + '\\' + place.folder + place.name + '\t' + FormatSize(own.size);
}

}  // namespace movra
