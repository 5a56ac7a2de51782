// What browsing keeps for the run beside the content view's state: the
// column sorter with its shared direction flag and the navigation history of
// both tabs.
#pragma once

#include "browse/ColumnSort.h"
#include "browse/NavigationHistory.h"

namespace movra {

struct BrowseState {
  // Sorts the content list; its direction flag is shared by every column and command.
  ColumnSorter sorter;
  // Back and forward lists of both tabs and the captions of the two drop-down menus.
  NavigationHistory history;
  // Per tree (0 categories, 1 discs): > 0 while its selection-changing
  // notifications must not record visits (history steps, nested changes).
  int historyQuiet[2] = {0, 0};
  // True once the drop-down menus pass their item clicks to the history.
  bool historyMenusBound = false;
  // > 0 while browsing brings the current nodes up to date; a node that this
  // selects in the tree of the inactive tab is not shown.
  int syncDepth = 0;
};

}  // namespace movra
