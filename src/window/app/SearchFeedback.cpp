#include "window/app/SearchFeedback.h"

#include <wx/progdlg.h>

#include "window/controls/WxText.h"

namespace movra {
namespace {

SearchFeedbackTiming& Timing() {
  static SearchFeedbackTiming timing;
  return timing;
}

std::function<void(wxProgressDialog&)>& Observer() {
  static std::function<void(wxProgressDialog&)> observer;
  return observer;
}

// The line naming the disc being searched.
wxString SearchingText(const DiscListEntry& disc) {
  return wxString::FromUTF8("正在搜索：") + GbkToWx(disc.Text());
}

}  // namespace

void SetSearchFeedbackTiming(SearchFeedbackTiming timing) { Timing() = std::move(timing); }

void SetSearchFeedbackObserver(std::function<void(wxProgressDialog&)> observer) {
  Observer() = std::move(observer);
}

SearchFeedback::SearchFeedback(wxWindow* parent, const std::vector<DiscListEntry>& discs)
    : parent_(parent), discs_(discs), timing_(Timing()), pacer_(timing_.now, timing_.delay, timing_.interval) {}

SearchFeedback::~SearchFeedback() = default;

bool SearchFeedback::Report(const SearchProgress& progress) {
  // After the last disc there is nothing left to show or to stop.
  const size_t next = progress.index + 1;
  if (next >= discs_.size() || !pacer_.Due()) return !dialog_ || !dialog_->WasCancelled();
  // The gauge counts the discs done; it never reaches its end while the
  // window shows (a window at its end would wait to be closed).
  const int maximum = static_cast<int>(discs_.size());
  const int done = static_cast<int>(next);
  if (!dialog_) {
    dialog_ = std::make_unique<wxProgressDialog>(wxString::FromUTF8("搜索"), SearchingText(discs_[next]), maximum,
                                                 parent_, wxPD_APP_MODAL | wxPD_CAN_ABORT | wxPD_AUTO_HIDE);
  }
  // Update also runs the event loop: the window repaints and its button answers.
  bool go_on = dialog_->Update(done, SearchingText(discs_[next]));
  if (Observer()) Observer()(*dialog_);
  return go_on && !dialog_->WasCancelled();
}

}  // namespace movra
