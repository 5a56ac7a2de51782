// Adding a disc of 100,000 entries (10,000 folders, 90,000 files) end to end
// through the Add-disc command of a real main window: scan with its feedback
// window, snapshot file, catalogue entry and save, tree nodes. Reference from
// the same run: the bare ScanFolder of the same tree into a fresh index.
// Goal: the whole addition within 1.5 times the bare scan.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <wx/app.h>
#include <wx/init.h>

#include "window/app/TForm1.h"
#include "window/controls/CategoryTrees.h"
#include "window/dialogs/Appendcd.h"
#include "window/dialogs/DialogParts.h"
#include "window/dialogs/ModalDialogs.h"
#include "snapshot/Scanner.h"

using namespace movra;

namespace {

constexpr int kTopFolders = 100;
constexpr int kSubFolders = 99;      // per top folder: 100 + 100 * 99 = 10,000 folders
constexpr int kFilesPerFolder = 9;  // 90,000 files
constexpr int kRounds = 5;
const std::string kTree = "/tmp/movra-adddisc-bench";
const std::string kProgram = "/tmp/movra-adddisc-bench-program";

// Builds the medium once; a marker file says it is complete.
void MakeTree() {
  const std::string marker = kTree + "/.complete";
  struct stat st;
  if (::stat(marker.c_str(), &st) == 0) return;
  std::printf("building the tree under %s (once) ...\n", kTree.c_str());
  std::filesystem::remove_all(kTree);
  auto fill = [](const std::string& folder, int seed) {
    std::filesystem::create_directories(folder);
    for (int f = 0; f < kFilesPerFolder; ++f) {
      // Every third name is Chinese (光盘), so conversions are part of the work.
      const std::string name = f % 3 == 0 ? "\xE5\x85\x89\xE7\x9B\x98_" + std::to_string(f) + ".vob"
                                          : "file_" + std::to_string(f) + ".dat";
      std::ofstream(folder + "/" + name) << std::string(static_cast<size_t>((seed * 7 + f) % 200), 'x');
    }
  };
  int seed = 0;
  for (int t = 0; t < kTopFolders; ++t) {
    const std::string top = kTree + "/top" + std::to_string(t);
    fill(top, seed++);
    for (int s = 0; s < kSubFolders; ++s) fill(top + "/sub" + std::to_string(s), seed++);
  }
  std::ofstream(marker) << "";
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Run() {
  MakeTree();
  std::filesystem::remove_all(kProgram);
  std::filesystem::create_directories(kProgram + "/CDROM");
  std::ofstream(kProgram + "/Movra.xml") << "<root><CDLIST><T_Bench><T_Discs> </T_Discs></T_Bench></CDLIST></root>";
  std::filesystem::current_path(kProgram);
  TForm1Options options;
  options.program_folder = kProgram;
  auto* form = new TForm1(std::move(options));
  form->Show();

  // The user's part of the Add-disc dialog, without a modal loop.
  int added = 0;
  SetDialogRunner([&added](wxDialog& shown) {
    auto& dialog = dynamic_cast<TAppend&>(shown);
    SetFieldText(*dialog.Edit1, kTree);
    SetFieldText(*dialog.Edit2, "Bench_" + std::to_string(added));
    SetFieldText(*dialog.Edit3, "2006/3/3 9:07:02");
    dialog.TreeView1->SelectItem(FindNodeByPath(*dialog.TreeView1, "Bench\\Discs\\"));
    dialog.BitBtn2Click();
    return wxID_OK;
  });

  const DriveMap drives;
  const std::string scan_path = *drives.DrivePathOf(kTree + "/");
  std::size_t entries = 0;
  auto bare_scan = [&] {
    SnapshotIndex index;
    ScanFolder(index, drives, scan_path);
    entries = index.Count();
  };
  auto add_disc = [&] { form->ToolButton8Click(); };

  bare_scan();  // warm the cache
  double best_add = 1e9, best_scan = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    best_add = std::min(best_add, Seconds(add_disc));
    const std::string snapshot = kProgram + "/CDROM/Bench_" + std::to_string(added) + ".cdg";
    if (!std::filesystem::exists(snapshot)) std::printf("round %d: no snapshot file was written!\n", round);
    std::filesystem::remove(snapshot);
    ++added;
    best_scan = std::min(best_scan, Seconds(bare_scan));
  }
  SetDialogRunner({});
  form->Destroy();

  const double ratio = best_add / best_scan;
  std::printf("tree: %zu entries\n", entries);
  std::printf("add disc end to end   %8.3f s\n", best_add);
  std::printf("  reference: bare ScanFolder %.3f s\n", best_scan);
  std::printf("ratio                 %8.2f     goal <= 1.5  %s\n", ratio, ratio <= 1.5 ? "ok" : "MISSED");
}

class BenchApp : public wxApp {
 public:
  bool OnInit() override {
    // Runs inside the event loop, as a user's command does.
    CallAfter([this] {
      Run();
      ExitMainLoop();
    });
    return true;
  }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv) {
  wxApp::SetInstance(new BenchApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 1;
  wxTheApp->OnRun();
  wxEntryCleanup();
  return 0;
}
