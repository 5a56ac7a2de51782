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

// The question asked before deleting the element reached through
// element_names: 确实要删除选择的分类？ (or 光盘) followed by a line that says
// how many discs and snapshot files of a category, or that a disc's snapshot
// file, go with it; the first line alone when the element is missing.
std::string DeleteQuestion(const Workspace& work, const std::vector<std::string>& element_names);

// Deletes the element reached from CDLIST through element_names ("T_A",
// "T_B", "D_X"). When the save fails nothing is removed: the catalogue is
// read back from disk and every snapshot file stays.
DeleteResult DeleteEntry(Workspace& work, const std::vector<std::string>& element_names);

}  // namespace movra
