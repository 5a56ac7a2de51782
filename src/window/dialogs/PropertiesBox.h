// A small modal box with the properties of an entry or a disc: one label and
// one read-only value per line, and 确定.
#pragma once

#include <vector>

#include <wx/dialog.h>

#include "browse/Properties.h"

namespace movra {

class TPropertiesBox : public wxDialog {
 public:
  // Builds the box (caption 属性) with the given lines.
  TPropertiesBox(wxWindow* parent, std::vector<PropertyLine> lines);
  // The lines shown.
  const std::vector<PropertyLine>& Lines() const { return lines_; }

 private:
  std::vector<PropertyLine> lines_;
};

// Shows the box for lines modally through the dialog runner.
void ShowProperties(wxWindow* parent, std::vector<PropertyLine> lines);

}  // namespace movra
