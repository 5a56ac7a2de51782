// Reading a disc image: ScanImage over an ISO 9660 image (Joliet and Rock
// Ridge) of 100,000 entries, beside `bsdtar -tvf` listing the same image in
// the same run.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "BenchTiming.h"
#include "snapshot/ImageScanner.h"

namespace {

constexpr int kFolders = 10'000;
constexpr int kFilesPerFolder = 9;  // 10,000 folders + 90,000 files
const char* const kRoot = "/tmp/movra-image-bench";

// Builds the tree and its image once; a marker file says they are complete.
std::string MakeImage() {
  const std::string image = std::string(kRoot) + "/disc.iso";
  const std::string marker = std::string(kRoot) + "/.complete";
  struct stat st;
  if (::stat(marker.c_str(), &st) == 0) return image;
  std::printf("building the image under %s (once) ...\n", kRoot);
  std::system((std::string("rm -rf ") + kRoot).c_str());
  ::mkdir(kRoot, 0755);
  const std::string tree = std::string(kRoot) + "/tree";
  ::mkdir(tree.c_str(), 0755);
  for (int d = 0; d < kFolders; ++d) {
    // Every fourth folder has a Chinese name (光盘), so conversions are part of the work.
    const std::string folder = tree + "/" + (d % 4 == 0 ? "\xE5\x85\x89\xE7\x9B\x98_" : "folder_") + std::to_string(d);
    ::mkdir(folder.c_str(), 0755);
    for (int f = 0; f < kFilesPerFolder; ++f) {
      std::ofstream(folder + "/file_" + std::to_string(f) + ".dat") << std::string(static_cast<size_t>((d + f) % 100), 'x');
    }
  }
  const std::string command = "xorriso -as mkisofs -J -R -o '" + image + "' '" + tree + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "xorriso failed\n");
    std::exit(1);
  }
  std::ofstream(marker) << "";
  return image;
}

}  // namespace

int main() {
  const std::string image = MakeImage();
  const std::string bsdtar = "bsdtar -tvf '" + image + "' >/dev/null";
  std::size_t entries = 0;
  auto read = [&] {
    movra::SnapshotIndex index;
    movra::ScanImage(index, image, "D:\\");
    entries = index.Count();
  };
  auto reference = [&] {
    if (std::system(bsdtar.c_str()) != 0) std::fprintf(stderr, "bsdtar failed\n");
  };
  read();  // warm the cache
  reference();
  const double ours = movra::bench::BestSeconds(read, 5);
  const double theirs = movra::bench::BestSeconds(reference, 5);
  std::printf("image of %zu entries: %.3f s   bsdtar -tvf (reference): %.3f s   ratio %.2f (goal <= 1.30)\n",
              entries, ours, theirs, ours / theirs);
  return 0;
}
