#include "window/platform/ChangeNotice.h"

namespace movra {

ChangeNotice SystemChangeNotice() { return ChangeNotice::kPolling; }

}  // namespace movra
