// Writing and reading a snapshot of 1,000,000 entries, and the memory the
// index takes. References from the same run: a plain write(2) of the same
// bytes, a plain read of the file, and `wc -l` over it.
#include <fcntl.h>
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "snapshot/SnapshotFile.h"
#include "snapshot/SnapshotIndex.h"
#include "BenchTiming.h"

using namespace movra;

namespace {

constexpr std::size_t kEntries = 1'000'000;
constexpr int kRounds = 3;

using bench::CpuSeconds;
using bench::Timing;

Timing Seconds(const std::function<void()>& work) { return bench::BestTiming(work, kRounds); }

// Bytes handed out by malloc, from the heap and from separate mappings.
std::size_t HeapInUse() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

// Names as found on discs: Latin and GBK, photo and episode numbering.
const char* const kFolderStems[] = {"VIDEO", "AUDIO", "PHOTOS", "\xD5\xD5\xC6\xAC" /* 照片 */,
                                    "\xD2\xF4\xC0\xD6" /* 音乐 */, "Backup", "DATA", "Documents"};
const char* const kFileStems[] = {"IMG_", "DSC", "\xB5\xDA" /* 第 */, "track", "report_", "VTS_01_"};
const char* const kExtensions[] = {".JPG", ".mp3", ".rmvb", ".VOB", ".docx", ".txt", ".pdf"};

// Fills the index the way a scan does: a folder's entries, then its subfolders,
// four to six levels deep, about one folder in eleven entries.
void BuildIndex(SnapshotIndex& index) {
  std::mt19937 random(20060303);
  const DateTime base = EncodeDateTime({2003, 1, 1, 0, 0, 0});
  auto time = [&] { return base + static_cast<double>(random() % (15u * 365 * 86400)) / 86400.0; };
  std::function<void(const std::string&, int)> fill = [&](const std::string& key, int depth) {
    if (index.Count() >= kEntries) return;
    const int files = 6 + static_cast<int>(random() % 9);
    const int folders = depth < 5 ? 1 + static_cast<int>(random() % 3) : 0;
    for (int i = 0; i < files && index.Count() < kEntries; ++i) {
      std::string name = kFileStems[random() % 6] + std::to_string(random() % 100000) +
                         kExtensions[random() % 7];
      index.AddFile(key, name, time(), static_cast<std::int64_t>(random() % 50'000'000));
    }
    std::vector<std::string> children;
    for (int i = 0; i < folders && index.Count() < kEntries; ++i) {
      children.push_back(std::string(kFolderStems[random() % 8]) + "_" + std::to_string(i));
      index.AddFolder(key, children.back(), time(), 0);
    }
    for (const std::string& child : children) fill(key + child + "\\", depth + 1);
  };
  for (int top = 0; index.Count() < kEntries; ++top) {
    const std::string name = "DISC" + std::to_string(top);
    index.AddFolder("E:\\", name, time(), 0);
    fill("E:\\" + name + "\\", 1);
  }
}

void PlainWrite(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    std::perror("plain write");
    std::exit(1);
  }
  ::close(fd);
}

}  // namespace

int main() {
  char folder[] = "/tmp/movra_snapshot_bench_XXXXXX";
  if (!::mkdtemp(folder)) return 1;
  const std::string path = std::string(folder) + "/big.cdg";
  const std::string plainPath = std::string(folder) + "/plain.cdg";

  const std::size_t heapBefore = HeapInUse();
  SnapshotIndex index;
  const auto buildStart = std::chrono::steady_clock::now();
  BuildIndex(index);
  const std::chrono::duration<double> buildTook = std::chrono::steady_clock::now() - buildStart;
  const std::size_t heapIndex = HeapInUse() - heapBefore;
  std::size_t nameBytes = 0;
  for (const SnapshotEntryView e : index) nameBytes += e.name.size();

  bool written = true;
  const Timing writeTime = Seconds([&] { written = written && WriteSnapshot(index, path); });
  const std::string bytes = SnapshotText(index);
  const Timing textTime = Seconds([&] { (void)SnapshotText(index); });
  const Timing plainWriteTime = Seconds([&] { PlainWrite(plainPath, bytes); });
  const Timing syncedWriteTime = Seconds([&] { Fs().WriteFileAtomic(plainPath, bytes, true); });

  SnapshotIndex loaded;
  bool read = true;
  const std::size_t heapBeforeRead = HeapInUse();
  const Timing readTime = Seconds([&] { read = read && ReadSnapshot(loaded, path); });
  const std::size_t heapLoaded = HeapInUse() - heapBeforeRead;
  const Timing plainReadTime = Seconds([&] { (void)Fs().ReadFile(path); });
  const Timing parseTime = Seconds([&] { read = read && ParseSnapshot(loaded, bytes); });
  // Fresh memory is costly on some virtual machines: touching a buffer of
  // the file's size shows what any writer or reader of these bytes pays.
  const Timing touchTime = Seconds([&] {
    std::string buffer(bytes.size(), ' ');
    if (buffer[buffer.size() / 2] != ' ') std::exit(1);
  });
  const std::string wc = "wc -l " + path + " > /dev/null";
  const Timing wcTime = Seconds([&] {
    if (std::system(wc.c_str()) != 0) std::exit(1);
  });

  std::printf("entries %zu, file %.1f MB, built in %.3f s; times are wall (cpu)\n", index.Count(),
              bytes.size() / 1e6, buildTook.count());
  std::printf("reference          filling a fresh buffer of the file's size %.3f s (%.3f)\n",
              touchTime.wall, touchTime.cpu);
  std::printf("WriteSnapshot      %.3f s (%.3f) goal < 0.3 s, ok=%d  | text alone %.3f s (%.3f), "
              "plain write(2) of the bytes %.3f s (%.3f), atomic write with fsync %.3f s (%.3f)\n",
              writeTime.wall, writeTime.cpu, written, textTime.wall, textTime.cpu, plainWriteTime.wall,
              plainWriteTime.cpu, syncedWriteTime.wall, syncedWriteTime.cpu);
  std::printf("ReadSnapshot       %.3f s (%.3f) goal < 0.5 s, ok=%d, %zu entries  | parsing alone %.3f s (%.3f), "
              "plain read %.3f s (%.3f), wc -l %.3f s\n",
              readTime.wall, readTime.cpu, read, loaded.Count(), parseTime.wall, parseTime.cpu,
              plainReadTime.wall, plainReadTime.cpu, wcTime.wall);
  std::printf("index memory       %.1f MB built, %.1f MB loaded (goal < 100 MB)  | name bytes %.1f MB, "
              "%.1f bytes per entry beyond the name\n",
              heapIndex / 1e6, heapLoaded / 1e6, nameBytes / 1e6,
              static_cast<double>(heapLoaded - nameBytes) / static_cast<double>(loaded.Count()));

  ::unlink(path.c_str());
  ::unlink(plainPath.c_str());
  ::rmdir(folder);
  return written && read ? 0 : 1;
}
