// Feedback while Add disc scans a medium. A scan that is still running after
// half a second gets a small window showing the folder being read and the
// folders and files found so far, with a button that stops the scan. While it
// shows, the rest of the program is disabled and the event loop runs between
// folders (now and then), so the windows repaint and the button answers; the
// scan itself stays on the user-interface thread.
#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include <wx/dialog.h>

#include "snapshot/Scanner.h"

class wxButton;
class wxStaticText;
class wxWindowDisabler;

namespace movra {

// The small window itself.
class ScanProgressDialog : public wxDialog {
 public:
  // A modeless window over parent.
  explicit ScanProgressDialog(wxWindow* parent);
  // Shows where the scan is.
  void ShowProgress(const ScanProgress& progress);
  // True once the user asked to stop.
  bool Cancelled() const { return cancelled_; }
  // What 取消 does: asks the scan to stop.
  void CancelButtonClick();

  wxStaticText* FolderLabel = nullptr;  // the folder being read
  wxStaticText* CountLabel = nullptr;   // folders and files so far
  wxButton* CancelButton = nullptr;     // 取消

 private:
  bool cancelled_ = false;
};

// When the window appears and how often it is brought up to date.
struct ScanFeedbackTiming {
  // The clock (tests may drive their own).
  std::function<std::chrono::steady_clock::time_point()> now = [] { return std::chrono::steady_clock::now(); };
  // How long a scan runs before the window appears.
  std::chrono::milliseconds delay{500};
  // Least time between two updates of the window (each also runs the event loop).
  std::chrono::milliseconds interval{100};
};

// Replaces the timing (tests show the window at once); default-constructed restores it.
void SetScanFeedbackTiming(ScanFeedbackTiming timing);

// Called after each update of the window (tests press its button here); empty removes it.
void SetScanFeedbackObserver(std::function<void(ScanProgressDialog&)> observer);

// The scan callback of one scan: decides when the window appears, keeps it
// up to date and reports the user's wish to stop. The window goes with it.
class ScanFeedback {
 public:
  // Feedback for a scan started now, with parent owning the window.
  explicit ScanFeedback(wxWindow* parent);
  ~ScanFeedback();
  ScanFeedback(const ScanFeedback&) = delete;
  ScanFeedback& operator=(const ScanFeedback&) = delete;

  // Takes note of progress; false when the user stopped the scan.
  bool Report(const ScanProgress& progress);
  // Report as a scan callback; valid while this object lives.
  ScanCallback Callback() {
    return [this](const ScanProgress& progress) { return Report(progress); };
  }
  // True when the window has been shown.
  bool Shown() const { return dialog_ != nullptr; }

 private:
  wxWindow* parent_;
  ScanFeedbackTiming timing_;
  std::chrono::steady_clock::time_point next_update_;
  ScanProgressDialog* dialog_ = nullptr;
  std::unique_ptr<wxWindowDisabler> disabler_;
};

}  // namespace movra
