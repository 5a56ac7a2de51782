// The home's watch, both ways of noticing (the toolkit's watcher and
// polling): a file another program writes, replaces or removes is noticed
// once its burst settles; the lock file and our own index folder's contents are not.
#include <functional>
#include <string>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/evtloop.h>

#include "support/System.h"
#include "support/TempDir.h"
#include "window/app/HomeWatch.h"

namespace movra {
namespace {

using test::TempDir;
using test::WriteBytes;

// Runs the event loop until done() holds or ms pass; whether it held.
bool PumpUntil(const std::function<bool()>& done, long ms) {
  const wxLongLong start = wxGetLocalTimeMillis();
  wxEventLoopBase* loop = wxEventLoopBase::GetActive();
  while (!done() && wxGetLocalTimeMillis() - start < ms) {
    loop->DispatchTimeout(10);
    wxTheApp->ProcessPendingEvents();
  }
  return done();
}

struct WatchCase {
  const char* name;
  std::function<void(const TempDir&)> change;
  bool noticed;
};

struct WatchCases : ::testing::TestWithParam<std::tuple<ChangeNotice, WatchCase>> {};

TEST_P(WatchCases, TellsAChangeOfTheHomeAndNothingElse) {
  const auto& [notice, c] = GetParam();
  TempDir home;
  WriteBytes(home / "Movra.xml", "<root/>");
  WriteBytes(home / "CDROM/.index/discs.merged", "x");
  int told = 0;
  HomeWatch watch({test::PathOf(home.path()), test::PathOf(home / "CDROM")}, [&] { ++told; }, notice);
  ASSERT_TRUE(watch.Start());
  // inotify takes a moment to follow; polling has read the listings already.
  PumpUntil([] { return false; }, 100);
  c.change(home);
  const long wait = HomeWatch::kPollMs + HomeWatch::kSettleMs + 1500;
  EXPECT_EQ(PumpUntil([&] { return told > 0; }, c.noticed ? wait : wait / 2), c.noticed) << c.name;
}

const WatchCase kCases[] = {
    {"a new snapshot", [](const TempDir& home) { WriteBytes(home / "CDROM/DVD_01.cdg", "snapshot"); }, true},
    {"the catalogue rewritten", [](const TempDir& home) { WriteBytes(home / "Movra.xml", "<root><CDLIST/></root>"); },
     true},
    {"the lock file", [](const TempDir& home) { WriteBytes(home / "Movra.xml.lock", ""); }, false},
    {"the name index below the data folder",
     [](const TempDir& home) { WriteBytes(home / "CDROM/.index/discs.merged", "longer index"); }, false},
};

INSTANTIATE_TEST_SUITE_P(BothWays, WatchCases,
                         ::testing::Combine(::testing::Values(ChangeNotice::kNotifications, ChangeNotice::kPolling),
                                            ::testing::ValuesIn(kCases)));

}  // namespace
}  // namespace movra
