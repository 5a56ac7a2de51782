// Windows keeps settings beside the data, so that a portable copy carries
// its own and an installed one uses %APPDATA%\Movra.
#include "window/platform/SettingsPlace.h"

namespace movra {

SettingsLocation SystemSettingsLocation() { return {SettingsPlace::kDataHome, {}}; }

}  // namespace movra
