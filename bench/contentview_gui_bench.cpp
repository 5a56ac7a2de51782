// Browsing a large folder in the real main window: selecting the folder node
// of a folder of 20,000 files until the list is painted, and one column sort
// of it. References from the same run: building the same rows, and sorting
// them, without any widget.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include <wx/app.h>
#include <wx/init.h>

#include "window/app/TForm1.h"
#include "browse/ColumnSort.h"
#include "browse/FolderListing.h"
#include "window/controls/CategoryTrees.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "snapshot/SnapshotFile.h"

using namespace movra;

namespace {

constexpr int kFiles = 20'000;
constexpr int kFolders = 300;
constexpr int kRounds = 3;

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Best of kRounds runs of work, each after prepare (which is not timed).
double Best(const std::function<void()>& work, const std::function<void()>& prepare = [] {}) {
  double best = 1e9;
  for (int i = 0; i < kRounds; ++i) {
    prepare();
    const auto start = Clock::now();
    work();
    best = std::min(best, Since(start));
  }
  return best;
}

void Report(const char* what, double seconds, const char* reference, double refSeconds, double goal) {
  std::printf("%-44s %8.4f s   (%s: %.4f s, ratio %.1f)   goal < %.2f s: %s\n", what, seconds, reference,
              refSeconds, refSeconds > 0 ? seconds / refSeconds : 0.0, goal, seconds < goal ? "met" : "MISSED");
}

// A disc whose folder E:\VIDEO\ holds kFolders sub-folders and kFiles files.
void WriteDisc(const std::string& path) {
  SnapshotIndex index;
  std::mt19937 random(20060303);
  const DateTime base = EncodeDateTime({2003, 1, 1, 0, 0, 0});
  auto time = [&] { return base + static_cast<double>(random() % (15u * 365 * 86400)) / 86400.0; };
  const char* const stems[] = {"IMG_", "DSC", "\xB5\xDA" /* 第 */, "track", "Report_", "VTS_01_"};
  const char* const extensions[] = {".JPG", ".mp3", ".rmvb", ".VOB", ".docx", ".txt", ".pdf"};
  index.AddFolder("E:\\", "VIDEO", time(), 0);
  for (int i = 0; i < kFolders; ++i)
    index.AddFolder("E:\\VIDEO\\", "\xD5\xD5\xC6\xAC" /* 照片 */ + std::to_string(random() % 100000), time(), 0);
  for (int i = 0; i < kFiles; ++i)
    index.AddFile("E:\\VIDEO\\", stems[random() % 6] + std::to_string(random() % 1000000) + extensions[random() % 7],
                  time(), static_cast<std::int64_t>(random() % 50'000'000));
  if (!WriteSnapshot(index, path)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
}

void Run(const std::string& folder) {
  std::filesystem::create_directories(folder + "/CDROM");
  WriteDisc(folder + "/CDROM/Big.cdg");
  Fs().WriteFileAtomic(folder + "/Movra.xml",
                       "<?xml version=\"1.0\" encoding=\"gb2312\"?><root><CDLIST><T_Bench><D_Big>"
                       "<Title>Big</Title></D_Big></T_Bench></CDLIST></root>");
  std::filesystem::current_path(folder);

  TForm1Options options;
  options.program_folder = folder;
  options.exit_process = [](int) {};
  auto* form = new TForm1(std::move(options));
  form->Show();
  wxTheApp->Yield();

  CategoryTreeCtrl& tree = *form->TreeView1;
  const wxTreeItemId disc = FindNodeByPath(tree, "Bench\\Big\\");
  auto start = Clock::now();
  tree.SelectItem(disc);
  std::printf("disc page and snapshot load (%d entries): %.4f s\n", kFiles + kFolders + 1, Since(start));
  wxTreeItemIdValue cookie;
  const wxTreeItemId root = tree.GetFirstChild(disc, cookie);
  const wxTreeItemId video = tree.GetFirstChild(root, cookie);

  // Reference: the same rows built without any widget.
  ListModel bare;
  const ListingIcons icons{form->Icons().FolderIconIndex(),
                           [form](std::string_view ext) { return form->Icons().IconOfExtension(ext); }};
  const double build = Best([&] { BuildFolderListing(form->Index(), "E:\\VIDEO\\", icons, bare); });
  // The folder node's selection: listing, look-ahead, status and paint.
  const double select = Best(
      [&] {
        tree.SelectItem(video);
        form->ListView1->Update();
      },
      [&] {
        tree.SelectItem(root);
        wxTheApp->Yield();
      });
  std::printf("rows shown: %zu\n", form->ListView1->Model().Count());
  Report("select a folder of 20,000 files (details)", select, "rows without widget", build, 0.3);

  ColumnSorter bareSorter;
  const double sortBare = Best([&] { bareSorter.Sort(bare, kColumnName, icons.folderIcon, false); });
  const double byName = Best([&] {
    form->N65Click();
    form->ListView1->Update();
  });
  Report("sort it by name in the window (details)", byName, "sort without widget", sortBare, 0.3);
  const double bySize = Best([&] {
    form->N66Click();
    form->ListView1->Update();
  });
  Report("sort it by size in the window (details)", bySize, "sort without widget", sortBare, 0.3);
  form->Destroy();
  wxTheApp->Yield();
}

}  // namespace

int main(int argc, char** argv) {
  wxApp::SetInstance(new wxApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
    std::fprintf(stderr, "no display\n");
    return 1;
  }
  char pattern[] = "/tmp/movra-contentview-XXXXXX";
  const char* folder = mkdtemp(pattern);
  if (folder == nullptr) return 1;
  Run(folder);
  std::filesystem::remove_all(folder);
  wxEntryCleanup();
  return 0;
}
