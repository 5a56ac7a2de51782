// Scanning a large tree: ScanFolder over 200,000 files in 20,000 folders,
// beside `find` listing sizes and times of the same tree in the same run.
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/DriveMap.h"
#include "snapshot/Scanner.h"

namespace {

constexpr int kTopFolders = 100;
constexpr int kSubFolders = 199;  // per top folder: 100 + 100 * 199 = 20,000 folders
constexpr int kFilesPerFolder = 10;
const char* const kRoot = "/tmp/movra-scan-bench";

// Builds the tree once; a marker file says it is complete.
void MakeTree() {
  const std::string marker = std::string(kRoot) + "/.complete";
  struct stat st;
  if (::stat(marker.c_str(), &st) == 0) return;
  std::printf("building the tree under %s (once) ...\n", kRoot);
  std::system((std::string("rm -rf ") + kRoot).c_str());
  ::mkdir(kRoot, 0755);
  auto fill = [](const std::string& folder, int seed) {
    for (int f = 0; f < kFilesPerFolder; ++f) {
      // Every fourth name is Chinese (光盘), so conversions are part of the work.
      const std::string name = f % 4 == 0 ? "\xE5\x85\x89\xE7\x9B\x98_" + std::to_string(f) + ".txt"
                                          : "file_" + std::to_string(f) + ".dat";
      std::ofstream(folder + "/" + name) << std::string(static_cast<size_t>((seed * 7 + f) % 300), 'x');
    }
  };
  int seed = 0;
  for (int t = 0; t < kTopFolders; ++t) {
    const std::string top = std::string(kRoot) + "/top" + std::to_string(t);
    ::mkdir(top.c_str(), 0755);
    fill(top, seed++);
    for (int s = 0; s < kSubFolders; ++s) {
      const std::string sub = top + "/sub" + std::to_string(s);
      ::mkdir(sub.c_str(), 0755);
      fill(sub, seed++);
    }
  }
  std::ofstream(marker) << "";
}

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main() {
  MakeTree();
  const movra::DriveMap drives;  // the tree is reached through Z:
  const std::string scan_path = *drives.DrivePathOf(std::string(kRoot) + "/");
  const std::string find = std::string("find ") + kRoot + " -printf '%s %T@\\n' >/dev/null";

  std::size_t entries = 0;
  auto scan = [&] {
    movra::SnapshotIndex index;
    const auto start = std::chrono::steady_clock::now();
    movra::ScanFolder(index, drives, scan_path);
    const auto took = std::chrono::steady_clock::now() - start;
    entries = index.Count();
    return Seconds(took);
  };
  auto reference = [&] {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(find.c_str()) != 0) std::fprintf(stderr, "find failed\n");
    return Seconds(std::chrono::steady_clock::now() - start);
  };

  scan();  // warm the cache
  reference();
  double best_scan = 1e9, best_find = 1e9;
  for (int round = 0; round < 5; ++round) {
    best_scan = std::min(best_scan, scan());
    best_find = std::min(best_find, reference());
  }
  std::printf("scan of %zu entries: %.3f s   find (reference): %.3f s   ratio %.2f (goal <= 1.30)\n", entries,
              best_scan, best_find, best_scan / best_find);
  return 0;
}
