#include "window/app/HomeWatch.h"

#include <algorithm>

#include <wx/filename.h>
#include <wx/fswatcher.h>
#include <wx/log.h>

namespace movra {
namespace {

// The lock file is opened by every edit and never changes the home's contents.
bool IsLockFile(const wxFileName& name) { return name.GetExt() == "lock"; }

}  // namespace

HomeWatch::HomeWatch(std::vector<std::filesystem::path> folders, std::function<void()> changed)
    : folders_(std::move(folders)), changed_(std::move(changed)), timer_(this) {
  std::sort(folders_.begin(), folders_.end());
  folders_.erase(std::unique(folders_.begin(), folders_.end()), folders_.end());
  Bind(wxEVT_TIMER, &HomeWatch::OnTimer, this);
}

HomeWatch::~HomeWatch() {
  timer_.Stop();
  if (watcher_) watcher_->RemoveAll();
}

bool HomeWatch::Start() {
  watcher_ = std::make_unique<wxFileSystemWatcher>();
  watcher_->SetOwner(this);
  Bind(wxEVT_FSWATCHER, &HomeWatch::OnChange, this);
  bool watching = false;
  wxLogNull quiet;  // a folder that cannot be watched only costs following it
  for (const std::filesystem::path& folder : folders_) {
    const int kinds = wxFSW_EVENT_CREATE | wxFSW_EVENT_DELETE | wxFSW_EVENT_RENAME | wxFSW_EVENT_MODIFY;
    watching = watcher_->Add(wxFileName::DirName(wxString::FromUTF8(folder.string())), kinds) || watching;
  }
  return watching;
}

void HomeWatch::Retry() {
  if (!timer_.IsRunning()) timer_.StartOnce(kSettleMs);
}

void HomeWatch::OnChange(wxFileSystemWatcherEvent& event) {
  if (event.IsError() || IsLockFile(event.GetPath())) return;
  ++notices_;
  // The first change of a burst starts the clock; later ones ride along.
  if (!timer_.IsRunning()) timer_.StartOnce(kSettleMs);
}

void HomeWatch::OnTimer(wxTimerEvent&) {
  if (changed_) changed_();
}

}  // namespace movra
