// Runs a check at each vector level of the index kernels that the processor has.
#pragma once

#include <gtest/gtest.h>

#include "nameindex/VectorKernels.h"

namespace movra {

// Calls check() at each level up to the machine's, then lifts the limit again.
template <typename Check>
void AtEachVectorLevel(Check&& check) {
  for (const VectorLevel level : kVectorLevels) {
    if (level > MachineVectorLevel()) break;
    LimitVectorLevel(level);
    SCOPED_TRACE(::testing::Message() << "vector level " << static_cast<int>(level));
    check();
  }
  LimitVectorLevel(kVectorLevels[std::size(kVectorLevels) - 1]);
}

}  // namespace movra
