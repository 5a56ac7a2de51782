// The tree control of the category and disc trees: a hidden root (so that
// several top-level nodes exist), node texts kept as GBK beside the shown
// wxString, and children ordered by the locale-aware comparison of names.
#pragma once

#include <string>
#include <string_view>

#include <wx/treectrl.h>

namespace movra {

// Image indexes of ImageList1 that tell a node's kind.
inline constexpr int kCategoryImage = 0;
inline constexpr int kDiscImage = 1;
inline constexpr int kRootFolderImage = 3;
inline constexpr int kFolderImage = 4;

// The default window style of the trees.
inline constexpr long kTreeStyle =
    wxTR_HIDE_ROOT | wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE | wxTR_NO_LINES | wxBORDER_THEME;

class CategoryTreeCtrl : public wxTreeCtrl {
 public:
  // Creates the tree, with its hidden root when the style hides the root.
  CategoryTreeCtrl(wxWindow* parent, wxWindowID id, long style = kTreeStyle);

  // The root, created (with an empty text) when there is none, e.g. after DeleteAllItems.
  wxTreeItemId EnsureRoot();

 protected:
  // Locale-aware order of the GBK texts (Latin before Chinese, case-insensitive first).
  int OnCompareItems(const wxTreeItemId& a, const wxTreeItemId& b) override;
};

// Sorts the children of item and of every node below it by the tree's order.
void SortRecursively(wxTreeCtrl& tree, const wxTreeItemId& item);

// The GBK text of a node of any tree (exact bytes when the node was made with AddNode).
std::string NodeText(const wxTreeCtrl& tree, const wxTreeItemId& item);

// Sets a node's text from GBK, keeping the exact bytes.
void SetNodeText(wxTreeCtrl& tree, const wxTreeItemId& item, std::string_view gbk);

// Appends a node with a GBK text and an image (normal and selected) as the last
// child of parent, or as a top-level node when parent is not valid (in a tree
// whose root is shown, that makes the root when there is none).
wxTreeItemId AddNode(wxTreeCtrl& tree, const wxTreeItemId& parent, std::string_view gbk, int image);

// The parent of item, or an invalid id for a top-level node (a hidden root is never returned).
wxTreeItemId ParentNode(const wxTreeCtrl& tree, const wxTreeItemId& item);

// The selected node, or an invalid id. A tree with a hidden root reports that
// root as selected when no node is; this treats it as no selection.
wxTreeItemId SelectedNode(const wxTreeCtrl& tree);

// The first top-level node (the first child of a hidden root, else the root), or an invalid id.
wxTreeItemId FirstTopNode(const wxTreeCtrl& tree);

// The node's depth: 0 for a top-level node.
int NodeLevel(const wxTreeCtrl& tree, const wxTreeItemId& item);

}  // namespace movra
