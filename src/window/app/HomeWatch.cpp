#include "window/app/HomeWatch.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include <wx/filename.h>
#include <wx/fswatcher.h>
#include <wx/log.h>

#include "platform/DataHome.h"
#include "platform/Directory.h"

namespace movra {
namespace {

// The lock file is opened by every edit and never changes the home's contents.
bool IsLockName(std::string_view name) { return name.ends_with(".lock"); }

constexpr int kSettleTimer = 1;
constexpr int kPollTimer = 2;

// What a folder holds, as polling compares it: each entry's name, and for a
// file its size, time and identity (a file replaced by a rename within the
// same second is another file). Sub-folders count by name only, so the name
// index's own writes below the data folder go unnoticed, as with the watcher.
// Empty when the folder cannot be read.
std::string ListingOf(const std::filesystem::path& folder) {
  std::optional<Directory> directory = Directory::Open(FsPathOf(folder));
  if (!directory) return {};
  std::vector<std::string> lines;
  DirectoryEntry entry;
  while (directory->Next(entry, true)) {
    std::string line(entry.name, entry.length);
    if (IsLockName(line)) continue;
    if (entry.kind == EntryKind::kFile) {
      line += '\0' + std::to_string(entry.size) + ':' + std::to_string(entry.modified) + ':' +
              std::to_string(entry.id.file);
    }
    lines.push_back(std::move(line));
  }
  std::sort(lines.begin(), lines.end());
  std::string listing;
  for (const std::string& line : lines) listing += line + '\n';
  return listing;
}

}  // namespace

HomeWatch::HomeWatch(std::vector<std::filesystem::path> folders, std::function<void()> changed,
                     ChangeNotice notice)
    : folders_(std::move(folders)),
      changed_(std::move(changed)),
      notice_(notice),
      timer_(this, kSettleTimer),
      poll_(this, kPollTimer) {
  std::sort(folders_.begin(), folders_.end());
  folders_.erase(std::unique(folders_.begin(), folders_.end()), folders_.end());
  Bind(wxEVT_TIMER, &HomeWatch::OnTimer, this, kSettleTimer);
  Bind(wxEVT_TIMER, &HomeWatch::OnPoll, this, kPollTimer);
}

HomeWatch::~HomeWatch() {
  timer_.Stop();
  poll_.Stop();
  if (watcher_) watcher_->RemoveAll();
}

bool HomeWatch::Start() {
  if (notice_ == ChangeNotice::kPolling) {
    listings_.clear();
    bool readable = false;
    for (const std::filesystem::path& folder : folders_) {
      listings_.push_back(ListingOf(folder));
      readable = readable || !listings_.back().empty();
    }
    poll_.Start(kPollMs);
    return readable;
  }
  watcher_ = std::make_unique<wxFileSystemWatcher>();
  watcher_->SetOwner(this);
  Bind(wxEVT_FSWATCHER, &HomeWatch::OnChange, this);
  bool watching = false;
  wxLogNull quiet;  // a folder that cannot be watched only costs following it
  for (const std::filesystem::path& folder : folders_) {
    const int kinds = wxFSW_EVENT_CREATE | wxFSW_EVENT_DELETE | wxFSW_EVENT_RENAME | wxFSW_EVENT_MODIFY;
    watching = watcher_->Add(wxFileName::DirName(wxString::FromUTF8(FsPathOf(folder))), kinds) || watching;
  }
  return watching;
}

void HomeWatch::Retry() {
  if (!timer_.IsRunning()) timer_.StartOnce(kSettleMs);
}

void HomeWatch::OnChange(wxFileSystemWatcherEvent& event) {
  if (event.IsError() || IsLockName(event.GetPath().GetFullName().utf8_string())) return;
  Noticed();
}

void HomeWatch::OnPoll(wxTimerEvent&) {
  bool changed = false;
  for (size_t i = 0; i < folders_.size(); ++i) {
    std::string listing = ListingOf(folders_[i]);
    if (listing != listings_[i]) changed = true;
    listings_[i] = std::move(listing);
  }
  if (changed) Noticed();
}

void HomeWatch::Noticed() {
  ++notices_;
  // The first change of a burst starts the clock; later ones ride along.
  if (!timer_.IsRunning()) timer_.StartOnce(kSettleMs);
}

void HomeWatch::OnTimer(wxTimerEvent&) {
  if (changed_) changed_();
}

}  // namespace movra
