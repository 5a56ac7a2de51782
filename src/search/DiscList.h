// The discs one search goes through: every disc at any depth below the
// located category, depth first in document order, or the located disc alone.
#pragma once

#include <string>
#include <vector>

#include "catalog/CatalogueDocument.h"

namespace movra {

// One disc to search, with the category path its header row shows.
struct DiscListEntry {
  // Category names from the located category down to the disc's own one,
  // each followed by a backslash; empty when the location is the disc itself
  // or the disc sits directly in the whole catalogue.
  std::string category_path;
  // The disc's name (its element name without "D_").
  std::string disc_name;

  // category_path + disc_name, e.g. "电影\动作\DVD_01".
  std::string Text() const { return category_path + disc_name; }
  // Equal when both parts are.
  bool operator==(const DiscListEntry&) const = default;
};

// The disc list of a located element: a disc element ("D_...") gives itself;
// a category ("T_...") gives the discs below it with paths beginning with its
// own name; CDLIST gives every disc with paths beginning at the main category.
std::vector<DiscListEntry> BuildDiscList(Element located);

}  // namespace movra
