// Filling the category and disc trees from the catalogue, and going between
// tree nodes and catalogue paths. Texts in and out are GBK. A catalogue path
// is the texts of a node's ancestors and of the node itself, each followed by
// a backslash ("A\B\X\").
#pragma once

#include <string>
#include <string_view>

#include <wx/treectrl.h>

#include "catalog/CatalogueDocument.h"
#include "window/controls/CategoryTreeCtrl.h"

namespace movra {

// What FillCategoryTree adds.
enum class FillMode {
  kCategories,  // main window: categories and the discs filed in them
  kDialog,      // Add-disc and Import dialogs: categories only
};

// Adds the main categories (in category mode also any other element directly
// in CDLIST, shown as a disc) as top-level nodes, or as children of parent
// when it is valid; below each main category its sub-categories (and, in
// category mode, its discs by element name), and below each sub-category, in
// category mode, its discs by their Title; then sorts from parent (or the
// whole tree). Does not clear the tree. True when CDLIST has
// at least one child element. Use a CategoryTreeCtrl for the locale order.
bool FillCategoryTree(wxTreeCtrl& tree, const CatalogueDocument& doc, FillMode mode,
                      const wxTreeItemId& parent = wxTreeItemId());

// Adds every disc at depth 1 to 3 below CDLIST once, as a top-level node,
// and sorts the tree. True when CDLIST has at least one child element.
bool FillDiscTree(wxTreeCtrl& tree, const CatalogueDocument& doc);

// Adds a node for an element name ("T_name" or "D_name"): the text is the name
// without its first two characters, the image 0 for T_ and 1 for anything else.
wxTreeItemId AddElementNode(wxTreeCtrl& tree, const wxTreeItemId& parent, std::string_view element_name);

// The catalogue path of node with own_text standing for the node's own text;
// empty when node is invalid or own_text is empty.
std::string NodePath(const wxTreeCtrl& tree, const wxTreeItemId& node, std::string_view own_text);

// NodePath with the node's own text.
std::string NodePath(const wxTreeCtrl& tree, const wxTreeItemId& node);

// The node a catalogue path names, from its first two components only (a
// main category, then one of its children); invalid when there is none.
wxTreeItemId FindNodeByPath(const wxTreeCtrl& tree, std::string_view path);

// From node on through its following siblings, the first whose text equals
// text byte for byte; invalid when node is invalid, text empty or none matches.
wxTreeItemId FindSiblingByText(const wxTreeCtrl& tree, const wxTreeItemId& node, std::string_view text);

// Deletes the first top-level node whose text equals text (at most one).
void RemoveDiscNodeByText(wxTreeCtrl& tree, std::string_view text);

}  // namespace movra
