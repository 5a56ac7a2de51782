// ImageList1: the sixteen 16 x 16 node images of both trees (and of the
// menus that show them). The trees use 0 category, 1 disc, 3 root folder of
// a disc, 4 folder; the others are there so every index of the set exists.
#pragma once

class wxImageList;

namespace movra {

// A new ImageList1; the caller owns it (e.g. through wxTreeCtrl::AssignImageList).
wxImageList* CreateTreeImages();

}  // namespace movra
