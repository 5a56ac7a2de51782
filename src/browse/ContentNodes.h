// What the content view needs to know about a tree node without touching the
// tree: its kind from its image, the disc element a disc node stands for, and
// the snapshot key of a folder node.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "browse/FolderListing.h"
#include "catalog/CatalogueDocument.h"

namespace movra {

// The kind of a tree node from its image index (0 category, 1 disc, 3 root
// folder, 4 folder; anything else is Other).
ShownNodeKind NodeKindOfImage(int image);

// Where a disc node stands.
struct DiscNodePlace {
  bool inDiscTree = false;               // true for a node of the disc tree
  std::vector<std::string> categories;   // category tree: the ancestors' texts, outermost first
  std::string name;                      // the node's text: the disc name (GBK)
};

// How looking up a disc node's element ended.
enum class DiscLookup {
  Found,       // the disc element exists
  Missing,     // its category exists but the disc element does not
  NoCategory,  // no CDLIST, or the main or sub-category element is missing
};

// The result of FindDiscOfNode.
struct DiscElementResult {
  DiscLookup outcome = DiscLookup::NoCategory;  // how the look-up ended
  Element element;                              // the disc element when Found
};

// The disc element a disc node stands for. In the disc tree the first element
// D_<name> down to three levels below CDLIST; in the category tree D_<name>
// under the sub-category (level 2), the main category (level 1) or CDLIST
// itself (a disc filed directly in CDLIST).
DiscElementResult FindDiscOfNode(const CatalogueDocument& doc, const DiscNodePlace& place);

// The snapshot key of a folder: root followed by each name and a backslash
// ("E:\" with VIDEO, SUB gives "E:\VIDEO\SUB\").
std::string FolderKey(std::string_view root, const std::vector<std::string>& names);

// The snapshot file of a disc (native): the native data folder + the GBK disc name + ".cdg".
std::string SnapshotFileOf(std::string_view dataFolder, std::string_view disc);

}  // namespace movra
