// Deleting a disc or a category with everything in it: the element leaves
// the catalogue, and only once the catalogue without it is saved do the
// snapshot files of its discs go.
#pragma once

#include <string>
#include <vector>

#include "workflows/Workspace.h"

namespace movra {

// What deleting did.
struct DeleteResult {
  WorkflowResult result;
  std::vector<std::string> discs;  // the discs (GBK names) removed with the element
};

// Deletes the element reached from CDLIST through element_names ("T_A",
// "T_B", "D_X"). When the save fails nothing is removed: the catalogue is
// read back from disk and every snapshot file stays.
DeleteResult DeleteEntry(Workspace& work, const std::vector<std::string>& element_names);

}  // namespace movra
