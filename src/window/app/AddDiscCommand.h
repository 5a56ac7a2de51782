// Add disc (TForm1::ToolButton8Click) lives in AddDiscCommand.cpp. Its last
// step opens the tray of the optical drive that was scanned; tests put a
// recorder in place of the real tray. Import shares the step that shows a
// newly catalogued disc in the trees.
#pragma once

#include <functional>
#include <string_view>

#include "platform/DriveMap.h"

namespace movra {

class TForm1;

// Opens the tray of the optical drive of drive_text ("E:").
using TrayOpener = std::function<void(const DriveMap& drives, std::string_view drive_text)>;

// Replaces the tray opener; an empty one restores the real tray. For tests.
void SetTrayOpener(TrayOpener opener);

// Shows a disc just catalogued: below its category in the category tree
// (when that node is found) and in the disc tree, in its sorted place.
void ShowNewDisc(TForm1& form, std::string_view name, std::string_view category_path);

}  // namespace movra
