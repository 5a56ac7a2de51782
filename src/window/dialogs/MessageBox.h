// The program's message boxes: an information box with a fixed text and
// either one OK button or the buttons Yes and No.
#pragma once

#include <string_view>

class wxWindow;

namespace movra {

// Which buttons an information box offers.
enum class BoxButtons { kOk, kYesNo };

// Shows gbk_text modally in an information box owned by parent (may be null);
// true when the user chose Yes (always false for an OK box).
bool ShowInfoBox(wxWindow* parent, std::string_view gbk_text, BoxButtons buttons = BoxButtons::kOk);

}  // namespace movra
