#include "window/platform/ChangeNotice.h"

namespace movra {

ChangeNotice SystemChangeNotice() { return ChangeNotice::kNotifications; }

}  // namespace movra
