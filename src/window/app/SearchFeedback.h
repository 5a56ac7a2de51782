// Feedback while a search goes through its discs. A search still running
// after half a second gets a progress window naming the disc being searched,
// with a gauge over the disc list and a button that stops the search. While
// it shows, the rest of the program is disabled and the event loop runs
// between discs (now and then), so the windows repaint, the rows found so far
// appear and the button answers; the search itself stays on the
// user-interface thread.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "search/DiscList.h"
#include "search/ProgressPacer.h"
#include "search/SnapshotSearch.h"

class wxProgressDialog;
class wxWindow;

namespace movra {

// When the progress window appears and how often it is brought up to date.
struct SearchFeedbackTiming {
  // The clock (tests may drive their own).
  ProgressPacer::Clock now = [] { return std::chrono::steady_clock::now(); };
  // How long a search runs before the window appears.
  std::chrono::milliseconds delay{500};
  // Least time between two updates of the window (each also runs the event loop).
  std::chrono::milliseconds interval{100};
};

// Replaces the timing (tests show the window at once); default-constructed restores it.
void SetSearchFeedbackTiming(SearchFeedbackTiming timing);

// Called after each update of the window (tests press its button here); empty removes it.
void SetSearchFeedbackObserver(std::function<void(wxProgressDialog&)> observer);

// The progress side of one search: decides when the window appears, keeps it
// up to date and reports the user's wish to stop. The window goes with it.
class SearchFeedback {
 public:
  // Feedback for a search of discs that begins now, the window owned by parent.
  SearchFeedback(wxWindow* parent, const std::vector<DiscListEntry>& discs);
  ~SearchFeedback();
  SearchFeedback(const SearchFeedback&) = delete;
  SearchFeedback& operator=(const SearchFeedback&) = delete;

  // Takes note of a disc searched; false when the user stopped the search.
  bool Report(const SearchProgress& progress);
  // True when the window has been shown.
  bool Shown() const { return dialog_ != nullptr; }

 private:
  wxWindow* parent_;
  const std::vector<DiscListEntry>& discs_;
  SearchFeedbackTiming timing_;
  ProgressPacer pacer_;
  std::unique_ptr<wxProgressDialog> dialog_;
};

}  // namespace movra
