// Choosing a file to open (the snapshot file of an import) or to write (an
// exported list). Everything goes through one picker, so tests answer it
// without a real modal dialog.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

class wxWindow;

namespace movra {

class OpenFilePicker {
 public:
  virtual ~OpenFilePicker() = default;
  // Lets the user choose an existing file, starting in the current folder and
  // showing the files the wildcard ("Text|*.TXT") admits; its native path
  // (UTF-8), or nullopt when cancelled.
  virtual std::optional<std::string> ChooseFile(wxWindow* parent, std::string_view wildcard) = 0;
  // Lets the user name a file to write, offering name and the types of the
  // wildcard ("CSV|*.csv|网页|*.html"); its native path (UTF-8) and the
  // index of the type chosen, or nullopt when cancelled (also here, where no
  // dialog is shown).
  virtual std::optional<std::pair<std::string, int>> ChooseSaveFile(wxWindow* parent, std::string_view wildcard,
                                                                    std::string_view name);
};

// The toolkit's open-file dialog.
class DesktopOpenFilePicker : public OpenFilePicker {
 public:
  std::optional<std::string> ChooseFile(wxWindow* parent, std::string_view wildcard) override;
  std::optional<std::pair<std::string, int>> ChooseSaveFile(wxWindow* parent, std::string_view wildcard,
                                                            std::string_view name) override;
};

// The picker the program uses: the toolkit's unless a test installed another.
OpenFilePicker& OpenFiles();

// Replaces the picker (nullptr restores the toolkit's); for tests.
void SetOpenFilePicker(OpenFilePicker* picker);

}  // namespace movra
