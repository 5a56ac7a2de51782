// The name index, beside the linear search over the same snapshot files as
// a reference: building the index from scratch with each level of kernels
// the machine has (warm, and with the snapshots evicted from the page
// cache), its size, a selective search warm and with the snapshots and the
// index evicted, updating it for a newly added large disc, and 1,000 random
// searches (plain, wildcard, case-sensitive, literal) that must give the
// linear search's rows. Default: 200 snapshots of 5,000 entries; --full (or
// MOVRA_BENCH_FULL=1 in the environment): 2,000 snapshots (10,000,000
// entries). Files are generated once under /tmp and kept.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "BenchTiming.h"
#include "nameindex/NameIndex.h"
#include "nameindex/VectorKernels.h"
#include "BenchNames.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/MappedFile.h"
#include "platform/TextCodec.h"
#include "search/SnapshotSearch.h"

using namespace movra;
using movra::bench::kExtensions;
using movra::bench::Words;
using movra::bench::BestTiming;
using movra::bench::Timing;

namespace {

constexpr int kEntriesPerDisc = 5000;
// One name in this many holds the rare phrase, so the selective search
// finds a few hundred rows among 10,000,000 entries.
constexpr unsigned kRareEvery = 25000;
// What a build from scratch of 10,000,000 entries may take, in seconds, per
// vector level: plain code, AVX2.
constexpr double kBuildGoal[] = {1.5, 0.6};

// Snapshots in the writer's order (greatest key first): a tree of about 400
// folders up to five levels deep, the rest files.
class Generator {
 public:
  Generator() : random_(20061208), words_(Words()) {
    const DateTime base = EncodeDateTime({2000, 1, 1, 0, 0, 0});
    for (int i = 0; i < 4096; ++i)
      times_.push_back(DateTimeToText(base + static_cast<double>(random_() % (10u * 365 * 86400)) / 86400.0));
  }

  std::string Snapshot(int entries) {
    const std::string drive = std::string(1, static_cast<char>('D' + random_() % 4)) + ":\\";
    struct Folder {
      std::string path;
      int depth;
      std::string lines;
    };
    std::vector<Folder> folders = {{drive, 0, {}}};
    const int folder_count = std::min(entries / 12, 350 + static_cast<int>(random_() % 100));
    for (int i = 1; i < folder_count; ++i) {
      size_t parent = random_() % folders.size();
      if (folders[parent].depth >= 5) parent = 0;
      const std::string name = Word() + " " + std::to_string(random_() % 100);
      folders[parent].lines += folders[parent].path + "|" + name + "[]" + Time() + "\r\n";
      folders.push_back({folders[parent].path + name + "\\", folders[parent].depth + 1, {}});
    }
    for (int i = folder_count - 1; i < entries; ++i) {
      Folder& folder = folders[random_() % folders.size()];
      std::string name = Word() + "_" + Word() + " " + std::to_string(random_() % 1000);
      if (random_() % kRareEvery == 0) name += " Sunset Boulevard";
      folder.lines += folder.path + name + kExtensions[random_() % std::size(kExtensions)] + "[" +
                      std::to_string(random_() % 700000000) + "]" + Time() + "\r\n";
    }
    std::sort(folders.begin(), folders.end(), [](const Folder& a, const Folder& b) { return a.path > b.path; });
    std::string text;
    for (const Folder& folder : folders) text += folder.lines;
    return text;
  }

  const std::string& Word() { return words_[random_() % words_.size()]; }
  std::mt19937& Random() { return random_; }

 private:
  const std::string& Time() { return times_[random_() % times_.size()]; }

  std::mt19937 random_;
  std::vector<std::string> words_;
  std::vector<std::string> times_;
};

std::string DiscName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "DISC_%04d", i);
  return name;
}

void WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void GenerateOnce(const std::string& root, const std::string& data, int discs, Generator& generator) {
  const std::string done = root + "/complete";
  if (std::filesystem::exists(done)) return;
  std::printf("generating %d snapshot files under %s ...\n", discs, data.c_str());
  std::system(("rm -rf " + root + " && mkdir -p " + data).c_str());
  for (int i = 0; i < discs; ++i) WriteFile(data + DiscName(i) + ".cdg", generator.Snapshot(kEntriesPerDisc));
  std::ofstream(done) << "ok\n";
  std::this_thread::sleep_for(std::chrono::seconds(2));  // let the newest files age past the window in which a stamp is not trusted
}

// Drops a file's pages from the page cache (no privileges needed).
void Evict(const std::string& path) {
  if (const std::optional<ReadOnlyFile> file = ReadOnlyFile::Open(path)) file->DropFromCache();
}

// Drops the whole page cache, dentries and inodes too, where this process may
// (root, outside a read-only /proc); false elsewhere.
bool DropCaches() {
  ::sync();
  const int fd = ::open("/proc/sys/vm/drop_caches", O_WRONLY);
  if (fd < 0) return false;
  const bool dropped = ::write(fd, "3\n", 2) == 2;
  ::close(fd);
  return dropped;
}

// Bytes this process has caused to be read from storage so far.
long long StorageReadBytes() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long long value = 0;
  while (io >> key >> value)
    if (key == "read_bytes:") return value;
  return -1;
}

struct Run {
  size_t rows = 0;
  std::vector<std::string> stale;
};

Run Search(const std::string& data, const std::vector<DiscListEntry>& discs, std::string_view text,
           MatchOptions options, NameIndex* index, SearchResults& results) {
  NameMatcher matcher(text, options);
  results.Clear();
  Run run;
  SearchDiscs(data, discs, matcher, results, nullptr, index, &run.stale);
  run.rows = results.size();
  return run;
}

bool SameRows(const SearchResults& a, const SearchResults& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const SearchRow& x = a[i];
    const SearchRow& y = b[i];
    if (x.kind != y.kind || x.size != y.size || x.modified != y.modified ||
        SearchResults::Name(x) != SearchResults::Name(y) || SearchResults::Folder(x) != SearchResults::Folder(y))
      return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const char* full_variable = std::getenv("MOVRA_BENCH_FULL");
  bool full = full_variable != nullptr && std::strcmp(full_variable, "1") == 0;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--full") == 0) full = true;
  static const char* const kLevels[] = {"plain code", "AVX2"};
  std::printf("index kernels: %s\n", kLevels[static_cast<int>(MachineVectorLevel())]);
  const int disc_count = full ? 2000 : 200;
  const std::string root = "/tmp/movra-index-bench-" + std::to_string(disc_count);
  const std::string data = root + "/CDROM/";
  Generator generator;
  const Timing generation = BestTiming([&] { GenerateOnce(root, data, disc_count, generator); }, 1);

  std::vector<DiscListEntry> discs;
  std::vector<std::string> paths;
  for (int i = 0; i < disc_count; ++i) {
    discs.push_back({"", DiscName(i)});
    paths.push_back(data + DiscName(i) + ".cdg");
  }
  std::uint64_t snapshot_bytes = 0;
  for (const std::string& path : paths) snapshot_bytes += Fs().ReadFile(path)->size();  // also warms the cache
  std::printf("%d snapshots, %d entries, %.1f MB (generated in %.1f s, or kept from an earlier run)\n", disc_count,
              disc_count * kEntriesPerDisc, snapshot_bytes / 1e6, generation.wall);

  SearchResults linear_rows;
  SearchResults index_rows;
  const std::string selective = "sunset boul";
  Run linear;
  std::unique_ptr<NameIndex> cold_index = std::make_unique<NameIndex>(data);
  NameIndex& index = *cold_index;
  // The builds at each level and their reference in turns, best of four:
  // the noise of a shared machine only ever slows a run down.
  std::vector<VectorLevel> levels;
  for (const VectorLevel level : kVectorLevels)
    if (level <= MachineVectorLevel()) levels.push_back(level);
  Timing linear_time;
  std::vector<Timing> builds(levels.size());
  auto keep_best = [](Timing& best, const Timing& run) {
    best = {std::min(best.wall, run.wall), std::min(best.cpu, run.cpu)};
  };
  for (int round = 0; round < 4; ++round) {
    keep_best(linear_time, BestTiming([&] { linear = Search(data, discs, selective, {}, nullptr, linear_rows); }, 1));
    for (size_t l = 0; l < levels.size(); ++l) {
      LimitVectorLevel(levels[l]);
      keep_best(builds[l], BestTiming([&] { index.Rebuild(nullptr); }, 1));
    }
  }
  LimitVectorLevel(MachineVectorLevel());
  std::printf("reference: linear search \"%s\": %.1f ms (cpu %.1f ms), %zu rows\n", selective.c_str(),
              linear_time.wall * 1e3, linear_time.cpu * 1e3, linear.rows);

  // A second reference: a search that many lines match, so that it takes
  // many more lines apart than the selective one.
  SearchResults common_rows;
  const Timing linear_common = BestTiming([&] { Search(data, discs, "*.mp3", {}, nullptr, common_rows); }, 3);
  std::printf("reference: linear search \"*.mp3\": %.1f ms (cpu %.1f ms), %zu rows\n", linear_common.wall * 1e3,
              linear_common.cpu * 1e3, common_rows.size());

  const IndexStatus status = index.Status();
  // The goals are for 10,000,000 entries; a smaller run gets its share.
  const double entries_share = disc_count * kEntriesPerDisc / 1e7;
  for (size_t l = 0; l < levels.size(); ++l)
    std::printf("build from scratch, %-10s %.0f ms (cpu %.0f ms) (goal < %.0f ms)\n",
                (std::string(kLevels[static_cast<int>(levels[l])]) + ":").c_str(), builds[l].wall * 1e3,
                builds[l].cpu * 1e3, kBuildGoal[static_cast<int>(levels[l])] * entries_share * 1e3);
  std::printf("index size:                   %.1f MB, %.2f of the snapshots (goal <= 0.5); %zu of %zu discs current\n",
              status.index_bytes / 1e6, static_cast<double>(status.index_bytes) / status.snapshot_bytes,
              status.current, status.snapshots);

  Run indexed;
  const Timing warm = BestTiming([&] { indexed = Search(data, discs, selective, {}, &index, index_rows); }, 5);
  std::printf("selective search, warm:       %.2f ms (cpu %.2f ms), %zu rows, %zu discs read whole, x%.4f linear (goal < 10 ms)\n",
              warm.wall * 1e3, warm.cpu * 1e3, indexed.rows, indexed.stale.size(), warm.wall / linear_time.wall);
  if (!SameRows(linear_rows, index_rows)) std::printf("  ROWS DIFFER from the linear search\n");
  // A search whose keys are all common reads every disc whole: it should
  // cost what the linear search costs.
  SearchResults common_index_rows;
  const Timing common = BestTiming([&] { Search(data, discs, "*.mp3", {}, &index, common_index_rows); }, 3);
  std::printf("search \"*.mp3\", warm:         %.1f ms (cpu %.1f ms), x%.2f the linear one\n", common.wall * 1e3,
              common.cpu * 1e3, common.wall / linear_common.wall);
  if (!SameRows(common_rows, common_index_rows)) std::printf("  ROWS DIFFER from the linear search\n");

  // Cold: every snapshot and segment evicted (no mapping may hold them), and
  // a fresh index object, which maps and checks every segment anew.
  const std::string merged_path = index.MergedPath();
  bool dropped_caches = false;
  auto evict_all = [&] {
    dropped_caches = DropCaches();
    if (dropped_caches) return;
    for (const std::string& path : paths) Evict(path);
    Evict(merged_path);
  };
  double cold_ms = 0;
  long long cold_bytes = 0;
  {
    auto fresh = std::make_unique<NameIndex>(data);
    std::swap(fresh, cold_index);  // releases the warm object's mappings
  }
  evict_all();
  long long before = StorageReadBytes();
  cold_ms = BestTiming([&] { indexed = Search(data, discs, selective, {}, cold_index.get(), index_rows); }, 1).wall * 1e3;
  cold_bytes = StorageReadBytes() - before;
  // The same search again: the segments are mapped and checked, only the
  // snapshot lines it reads are cold.
  evict_all();
  before = StorageReadBytes();
  const double mapped_ms =
      BestTiming([&] { indexed = Search(data, discs, selective, {}, cold_index.get(), index_rows); }, 1).wall * 1e3;
  const long long mapped_bytes = StorageReadBytes() - before;
  evict_all();
  before = StorageReadBytes();
  const Timing cold_linear = BestTiming([&] { Search(data, discs, selective, {}, nullptr, linear_rows); }, 1);
  const long long cold_linear_bytes = StorageReadBytes() - before;
  std::printf("selective search, cold:       %.1f ms, %.1f MB read from storage (index just opened); %.1f ms, %.1f MB "
              "(index open, pages evicted); linear %.1f ms, %.1f MB (goal < 100 ms; %s)\n",
              cold_ms, cold_bytes / 1e6, mapped_ms, mapped_bytes / 1e6, cold_linear.wall * 1e3, cold_linear_bytes / 1e6,
              dropped_caches ? "all caches dropped" : "the files' pages evicted");

  // Building from scratch with the snapshots evicted too, as at a first
  // start, beside the linear search with them evicted.
  evict_all();
  const Timing cold_build = BestTiming([&] { cold_index->Rebuild(nullptr); }, 1);
  std::printf("build from scratch, cold:     %.0f ms (cpu %.0f ms); the cold linear search took %.0f ms\n",
              cold_build.wall * 1e3, cold_build.cpu * 1e3, cold_linear.wall * 1e3);

  // A newly added disc of 100,000 entries.
  const std::string added = "ADDED_DISC";
  WriteFile(data + added + ".cdg", generator.Snapshot(100000));
  const Timing update = BestTiming([&] { cold_index->UpdateDisc(added); }, 1);
  std::printf("index update for a 100,000-entry disc: %.0f ms (cpu %.0f ms) (goal < 200 ms)\n", update.wall * 1e3,
              update.cpu * 1e3);
  cold_index->RemoveDisc(added);
  std::remove((data + added + ".cdg").c_str());

  // Random searches over random locations (runs of consecutive discs, as a
  // category gives), each compared row for row with the linear search.
  std::mt19937& random = generator.Random();
  const char* const extensions[] = {"mp3", ".avi", "jpg", "VOB", "rmvb"};
  int differ = 0;
  size_t total_rows = 0;
  double linear_total = 0;
  double index_total = 0;
  for (int q = 0; q < 1000; ++q) {
    std::string text;
    switch (random() % 5) {
      case 0: text = generator.Word(); break;                                               // plain
      case 1: text = generator.Word() + "_" + generator.Word().substr(0, 2); break;         // plain, two words
      case 2: text = std::string("*").append(extensions[random() % 5]); break;               // wildcard
      case 3: text = generator.Word().substr(0, 3) + "*_" + generator.Word() + "?" ; break;  // wildcard
      default: text = std::to_string(random() % 1000) + ".m"; break;                        // digits
    }
    if (random() % 3 == 0)
      for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    const MatchOptions options{random() % 2 == 0, random() % 4 == 0};
    const size_t first = random() % discs.size();
    const size_t count = std::min<size_t>(1 + random() % 40, discs.size() - first);
    const std::vector<DiscListEntry> location(discs.begin() + first, discs.begin() + first + count);
    linear_total += BestTiming([&] { Search(data, location, text, options, nullptr, linear_rows); }, 1).wall;
    index_total += BestTiming([&] { Search(data, location, text, options, cold_index.get(), index_rows); }, 1).wall;
    total_rows += linear_rows.size();
    if (!SameRows(linear_rows, index_rows)) {
      if (++differ <= 5) std::printf("  differs: \"%s\" case %d literal %d\n", text.c_str(), options.case_sensitive, options.literal);
    }
  }
  std::printf("1,000 random searches: %d differ from the linear search (goal 0), %zu rows; total %.2f s indexed, %.2f s linear\n",
              differ, total_rows, index_total, linear_total);
  return differ == 0 ? 0 : 1;
}
