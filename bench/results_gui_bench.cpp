// Showing 100,000 search results in the results list, in a real frame: the
// rows are handed to the list and the visible ones painted. References from
// the same run: making the same rows without any widget, and formatting the
// texts of every row once (the least a list holding its own items would do).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include "window/controls/ResultsListCtrl.h"
#include "platform/DateTime.h"
#include "window/platform/IconProvider.h"
#include "window/controls/WxText.h"
#include "search/SearchResults.h"
#include "BenchTiming.h"

using namespace movra;

namespace {

constexpr int kRows = 100'000;
constexpr int kPerDisc = 1'000;
constexpr int kRounds = 3;

double Seconds(const std::function<void()>& work, int rounds = kRounds) { return bench::BestSeconds(work, rounds); }

// kRows rows: a disc header before every kPerDisc entries, files and folders.
void AddRows(SearchResults& rows, int count) {
  const DateTime when = EncodeDateTime({2006, 3, 3, 9, 7, 2});
  for (int i = 0; i < count; ++i) {
    if (i % kPerDisc == 0) {
      rows.AddDisc("\xB5\xE7\xD3\xB0\\DVD_" + std::to_string(i / kPerDisc));  // 电影\DVD_n
      continue;
    }
    const std::string folder = "E:\\VIDEO\\" + std::to_string(i / 100) + "\\";
    rows.AddEntry(i % 7 != 0, "clip_" + std::to_string(i) + (i % 2 ? ".mp3" : ".avi"), folder, i * 1000LL, when);
  }
}

void Report(const char* what, double seconds, const char* reference, double refSeconds, double goal) {
  std::printf("%-44s %8.4f s   (%s: %.4f s, ratio %.2f)   goal < %.2f s: %s\n", what, seconds, reference,
              refSeconds, refSeconds > 0 ? seconds / refSeconds : 0.0, goal, seconds < goal ? "met" : "MISSED");
}

void Run() {
  auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(900, 700));
  IconProvider icons("");
  auto* list = new ResultsListCtrl(frame, wxID_ANY, icons);
  frame->Show();
  wxTheApp->Yield();

  // Reference 1: the rows alone.
  const double bare = Seconds([] {
    SearchResults rows;
    AddRows(rows, kRows);
  });
  // Reference 2: every cell's text formatted once, as a list of its own items needs.
  const double format_all = Seconds(
      [&] {
        list->Rows().Clear();
        AddRows(list->Rows(), kRows);
        size_t chars = 0;
        for (size_t row = 0; row < list->Rows().size(); ++row)
          for (long column = 0; column < 5; ++column) chars += GbkToWx(list->CellText(row, column)).length();
        if (chars == 0) std::printf("no text\n");
        list->Rows().Clear();
      },
      1);

  // The rows, handed to the list and painted.
  const double shown = Seconds([&] {
    list->ClearRows();
    list->Update();
    AddRows(list->Rows(), kRows);
    list->ShowRows();
    list->Update();
  });
  std::printf("rows on the list: %d\n", list->GetItemCount());
  Report("make and show 100,000 results", shown, "rows without widget", bare, 0.2);
  Report("make and show 100,000 results", shown, "rows plus every text formatted", format_all, 0.2);

  const double to_end = Seconds([&] {
    list->EnsureVisible(kRows - 1);
    list->Update();
    list->EnsureVisible(0);
    list->Update();
  });
  Report("scroll to the last row and back", to_end, "rows without widget", bare, 0.2);

  list->ClearRows();
  const double million = Seconds(
      [&] {
        list->ClearRows();
        AddRows(list->Rows(), 10 * kRows);
        list->ShowRows();
        list->Update();
      },
      1);
  std::printf("%-44s %8.4f s   (100,000 of them: %.4f s)\n", "make and show 1,000,000 results", million, shown);
  frame->Destroy();
}

}  // namespace

int main(int argc, char** argv) {
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  Run();
  wxEntryCleanup();
  return 0;
}
