// Bringing a tree on screen in line with a tree just filled from the
// catalogue, node by node, so that every node that stays keeps its id and
// with it its expansion, its selection and its place in the history.
#pragma once

#include <functional>

#include <wx/treectrl.h>

namespace movra {

// What SyncTree tells its caller.
struct TreeSyncHooks {
  // Called before node and everything below it is deleted; parent is the
  // node that stays (the root for a top-level node).
  std::function<void(const wxTreeItemId& parent, const wxTreeItemId& node)> before_delete;
};

// Makes the nodes of live match those of model level by level: a node of the
// same text and image stays, a category whose children read the same (or the
// only category left over on both sides of a level) is renamed in place,
// other nodes go and the missing ones are copied from model. The children of
// a disc node (its folders, read from its snapshot) are left alone. Changed
// levels are sorted again. True when any node was added, renamed or deleted.
bool SyncTree(wxTreeCtrl& live, const wxTreeCtrl& model, const TreeSyncHooks& hooks);

}  // namespace movra
