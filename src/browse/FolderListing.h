// What the content list shows for a folder of a disc, for a disc's
// information page, and the object count and total size of the status bar.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browse/ListModel.h"

namespace movra {

class SnapshotIndex;
struct SnapshotEntry;

// Icons of listing rows.
struct ListingIcons {
  int folderIcon = -1;                                     // icon of a closed folder
  std::function<int(std::string_view)> iconOfExtension;    // icon of an extension (".txt") or a name ("Text.txt")
};

// The extension of a file name: from its last dot on, the dot included; empty without a dot.
std::string_view ExtensionOf(std::string_view name);

// The entries of folder (a key such as "E:\VIDEO\") in listing order: its
// folders in locale order, then its files in snapshot order.
std::vector<SnapshotEntry> FolderEntries(const SnapshotIndex& index, std::string_view folder);

// Fills model with the listing of folder (a key such as "E:\VIDEO\"): its
// folders in locale order, then its files in snapshot order. No row is selected.
void BuildFolderListing(const SnapshotIndex& index, std::string_view folder, const ListingIcons& icons,
                        ListModel& model);

// Fills model with a disc's information page: the labels (with textFileIcon)
// followed by the title, the time and the memo lines (without icon). The memo
// is split at each "nbsp" (the marker that ends each stored memo line).
void BuildDiscInformation(std::string_view title, std::string_view time, std::string_view memo, int textFileIcon,
                          ListModel& model);

// The memo lines of a disc's information page: the pieces before each "nbsp",
// then any non-empty text after the last one; the whole memo without a marker.
std::vector<std::string> MemoLines(std::string_view memo);

// Kind of the node selected in the active tree, as far as the status bar cares.
enum class ShownNodeKind { None, Category, Disc, RootFolder, Folder, Other };

// The two status bar texts (object count and total size).
struct StatusTexts {
  std::string count;  // "选定了3个对象" or "12个对象" (GBK)
  std::string total;  // e.g. "4 KB"
};

// The status bar texts for model while a node of this kind is selected;
// none when the bar keeps its texts (no rows, no node, a category or a disc).
std::optional<StatusTexts> ComputeStatus(const ListModel& model, ShownNodeKind kind);

}  // namespace movra
