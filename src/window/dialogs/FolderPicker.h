// Choosing a folder: the scan path of Add disc and the target of an export.
// Everything goes through one picker, so tests answer it without a real
// modal dialog.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class wxWindow;

namespace movra {

class FolderPicker {
 public:
  virtual ~FolderPicker() = default;
  // Lets the user choose a folder of the file system, starting at the desktop
  // with nothing preselected; its native path (UTF-8), or nullopt when cancelled.
  virtual std::optional<std::string> ChooseFolder(wxWindow* parent, std::string_view gbk_caption) = 0;
};

// The toolkit's folder dialog.
class DesktopFolderPicker : public FolderPicker {
 public:
  std::optional<std::string> ChooseFolder(wxWindow* parent, std::string_view gbk_caption) override;
};

// The picker the program uses: the toolkit's unless a test installed another.
FolderPicker& Folders();

// Replaces the picker (nullptr restores the toolkit's); for tests.
void SetFolderPicker(FolderPicker* picker);

}  // namespace movra
