// Watching the home for changes made by other programs: the folder of the
// catalogue and the data folder, through the system's change notification
// (wxFileSystemWatcher) or, where that is unsafe, a look at the folders'
// listings every second (ChangeNotice). A burst of changes (a rename over the catalogue, a
// snapshot written then the catalogue) is told once, a short while after
// its first change.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <wx/event.h>
#include <wx/fswatcher.h>
#include <wx/timer.h>

#include "window/platform/ChangeNotice.h"

namespace movra {

class HomeWatch : public wxEvtHandler {
 public:
  // How long after the first change of a burst changed is called.
  static constexpr int kSettleMs = 200;
  // How often polling looks at the folders.
  static constexpr int kPollMs = 1000;

  // Watches folders (native paths; duplicates are watched once) once Start runs, the system's way unless told.
  HomeWatch(std::vector<std::filesystem::path> folders, std::function<void()> changed,
            ChangeNotice notice = SystemChangeNotice());
  ~HomeWatch() override;
  HomeWatch(const HomeWatch&) = delete;
  HomeWatch& operator=(const HomeWatch&) = delete;

  // Starts watching; needs a running event loop. False when no folder could be watched.
  bool Start();
  // Calls changed again after the settling time (a change that could not be followed yet).
  void Retry();
  // Changes noticed so far (tests count them).
  int Notices() const { return notices_; }

 private:
  void OnChange(wxFileSystemWatcherEvent& event);
  void OnTimer(wxTimerEvent& event);
  void OnPoll(wxTimerEvent& event);
  void Noticed();

  std::vector<std::filesystem::path> folders_;
  std::function<void()> changed_;
  ChangeNotice notice_;
  std::unique_ptr<wxFileSystemWatcher> watcher_;
  wxTimer timer_;
  wxTimer poll_;
  std::vector<std::string> listings_;  // polling: what each folder held at the last look
  int notices_ = 0;
};

}  // namespace movra
