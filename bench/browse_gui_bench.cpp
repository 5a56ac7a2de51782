// Showing a folder of 20,000 files in the content list (details view) and
// re-sorting it by a column, in a real frame. References from the same run:
// building the same rows, and sorting them, without any widget.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include "browse/ColumnSort.h"
#include "window/controls/ContentListCtrl.h"
#include "browse/FolderListing.h"
#include "platform/DateTime.h"
#include "window/platform/IconProvider.h"
#include "snapshot/SnapshotIndex.h"
#include "BenchTiming.h"

using namespace movra;

namespace {

constexpr int kFiles = 20'000;
constexpr int kFolders = 300;
constexpr int kRounds = 3;
const std::string kKey = "E:\\VIDEO\\";

double Seconds(const std::function<void()>& work, int rounds = kRounds) { return bench::BestSeconds(work, rounds); }

// One folder holding kFiles files and kFolders sub-folders, Latin and GBK names.
void BuildIndex(SnapshotIndex& index) {
  std::mt19937 random(20060303);
  const DateTime base = EncodeDateTime({2003, 1, 1, 0, 0, 0});
  auto time = [&] { return base + static_cast<double>(random() % (15u * 365 * 86400)) / 86400.0; };
  const char* const stems[] = {"IMG_", "DSC", "\xB5\xDA" /* 第 */, "track", "Report_", "VTS_01_"};
  const char* const folders[] = {"Backup", "\xD5\xD5\xC6\xAC" /* 照片 */, "data", "\xD2\xF4\xC0\xD6" /* 音乐 */};
  const char* const extensions[] = {".JPG", ".mp3", ".rmvb", ".VOB", ".docx", ".txt", ".pdf"};
  for (int i = 0; i < kFolders; ++i)
    index.AddFolder(kKey, folders[random() % 4] + std::to_string(random() % 100000), time(), 0);
  for (int i = 0; i < kFiles; ++i)
    index.AddFile(kKey, stems[random() % 6] + std::to_string(random() % 1000000) + extensions[random() % 7], time(),
                  static_cast<std::int64_t>(random() % 50'000'000));
}

void Report(const char* what, double seconds, const char* reference, double refSeconds, double goal) {
  std::printf("%-46s %8.4f s   (%s: %.4f s, ratio %.1f)   goal < %.2f s: %s\n", what, seconds, reference,
              refSeconds, refSeconds > 0 ? seconds / refSeconds : 0.0, goal, seconds < goal ? "met" : "MISSED");
}

void Run() {
  SnapshotIndex index;
  BuildIndex(index);

  auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(900, 700));
  IconProvider icons("");
  ListingIcons listingIcons{icons.FolderIconIndex(),
                            [&icons](std::string_view ext) { return icons.IconOfExtension(ext); }};
  std::vector<ListColumnSpec> columns = {{std::string(kColumnName), 250, wxLIST_FORMAT_LEFT},
                                         {std::string(kColumnSize), 80, wxLIST_FORMAT_RIGHT},
                                         {std::string(kColumnModified), 110, wxLIST_FORMAT_LEFT},
                                         {std::string(kColumnType), -1, wxLIST_FORMAT_LEFT}};
  auto* list = new ContentListCtrl(frame, wxID_ANY, columns, icons.SmallImages(), icons.LargeImages());
  frame->Show();
  wxTheApp->Yield();

  // Reference: the rows alone.
  ListModel bare;
  const double build = Seconds([&] { BuildFolderListing(index, kKey, listingIcons, bare); });
  // Rows built into the list's model, shown and painted.
  const double show = Seconds([&] {
    ContentListCtrl::Quiet quiet(*list);
    BuildFolderListing(index, kKey, listingIcons, list->Model());
    list->RefreshFromModel();
    list->Update();
  });
  std::printf("rows: %zu (%d folders, %d files)\n", list->Model().Count(), kFolders, kFiles);
  Report("fill and show 20,000 rows (details)", show, "rows without widget", build, 0.3);

  ColumnSorter bareSorter;
  const double sortBare = Seconds([&] { bareSorter.Sort(bare, kColumnName, icons.FolderIconIndex(), false); });
  ColumnSorter sorter;
  const double sortShow = Seconds([&] {
    ContentListCtrl::Quiet quiet(*list);
    sorter.Sort(list->Model(), kColumnName, icons.FolderIconIndex(), false);
    list->RefreshFromModel();
    list->Update();
  });
  Report("sort by name and show (details)", sortShow, "sort without widget", sortBare, 0.3);
  const double sizeShow = Seconds([&] {
    sorter.Sort(list->Model(), kColumnSize, icons.FolderIconIndex(), false);
    list->RefreshFromModel();
    list->Update();
  });
  Report("sort by size and show (details)", sizeShow, "sort without widget", sortBare, 0.3);

  // For comparison only: the plain list of the icon styles is filled row by row.
  const double iconStyle = Seconds(
      [&] {
        list->SetViewStyle(ListViewStyle::List);
        list->Update();
        list->SetViewStyle(ListViewStyle::Details);
      },
      1);
  std::printf("%-46s %8.4f s   (details view of the same rows: %.4f s)\n", "switch to list style (plain list, 20,300 rows)",
              iconStyle, show);
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
