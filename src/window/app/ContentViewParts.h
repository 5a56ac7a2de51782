// Pieces of the content view shared by its source files (window layer,
// used only inside src/app).
#pragma once

#include <string>
#include <vector>

#include <wx/treectrl.h>

#include "window/app/TForm1.h"
#include "browse/FolderListing.h"
#include "snapshot/SnapshotIndex.h"

namespace movra::contentview {

// The tree of the active tab: the category tree on TabSheet1, else the disc tree.
CategoryTreeCtrl* ActiveTree(TForm1& form);

// The kind of a node by its image; None for an invalid node.
ShownNodeKind KindOf(const wxTreeCtrl& tree, const wxTreeItemId& node);

// The kind of the active tree's selected node (None when nothing is selected).
ShownNodeKind SelectedKind(TForm1& form);

// SyncCurrentNodes for browsing: a node it selects in the tree of the
// inactive tab is not shown, since the list belongs to the active tab.
void SyncCurrentNodes(TForm1& form, BrowseState& state);

// Writes the object count and total of the content list into the status bar,
// unless the list is empty or a category or disc is selected.
void UpdateStatus(TForm1& form);

// Empties status panels 1 and 2.
void ClearStatus(TForm1& form);

// A disc node was reached: its information page (unless show_page is false:
// a disc expanded without being selected only grows), its snapshot and, the
// first time, its root folder node with two levels of folder nodes.
void ShowDisc(TForm1& form, CategoryTreeCtrl* tree, const wxTreeItemId& node, bool show_page = true);

// A root folder node was reached: grows it and, when show_listing, lists the scan root.
void ListRootFolder(TForm1& form, CategoryTreeCtrl* tree, const wxTreeItemId& node, bool show_listing = true);

// Shows what the active tab's selected node holds, as a selection of it would.
void ShowActiveSelection(TForm1& form, BrowseState& browse);

// True when node lies below ancestor (not ancestor itself).
bool IsBelow(const wxTreeCtrl& tree, const wxTreeItemId& node, const wxTreeItemId& ancestor);

// A folder node was reached: grows it, and lists it when it is the selected node.
void ListFolder(TForm1& form, CategoryTreeCtrl* tree, const wxTreeItemId& node);

}  // namespace movra::contentview
