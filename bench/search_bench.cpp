// Searching every snapshot of a large catalogue: 2,000 snapshot files of
// 5,000 entries each (10,000,000 lines), generated once under /tmp. Reference
// from the same run: `grep -c -i -F TEXT files... | cat` over the same files.
// Searches with size, date and kind conditions are timed in turns with the
// same search without them; the duplicates across all discs beside the
// search "?" of every line, with the memory they take.
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "BenchNames.h"
#include "BenchTiming.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"
#include "search/SnapshotSearch.h"
#include "workflows/FindDuplicates.h"

using namespace movra;
using movra::bench::kExtensions;
using movra::bench::Words;

namespace {

constexpr int kDiscs = 2000;
constexpr int kEntriesPerDisc = 5000;
constexpr int kRounds = 3;
const std::string kRoot = "/tmp/movra-search-bench-10m";
const std::string kDataFolder = kRoot + "/CDROM/";

// Processor time (user + system) of this process and of its finished children.
double CpuSeconds() {
  double total = 0;
  for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
    struct rusage usage;
    ::getrusage(who, &usage);
    total += usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
             usage.ru_stime.tv_usec / 1e6;
  }
  return total;
}

// The best of a few rounds, in wall-clock seconds and in processor seconds
// (the latter is fairer while other work shares the machine).
struct Timing {
  double wall = 1e9;
  double cpu = 1e9;
};

Timing Seconds(const std::function<void()>& work) {
  Timing best;
  for (int i = 0; i < kRounds; ++i) {
    const double cpu_start = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best.wall = std::min(best.wall, took.count());
    best.cpu = std::min(best.cpu, CpuSeconds() - cpu_start);
  }
  return best;
}

std::string DiscName(int i) {
  char name[32];
  std::snprintf(name, sizeof name, "DISC_%04d", i);
  return name;
}

// One disc: a tree of about 400 folders up to five levels deep, the rest
// files, written key by key, greatest key first, as the snapshot writer does.
std::string MakeSnapshot(std::mt19937& random, const std::vector<std::string>& words) {
  const std::string drive = std::string(1, static_cast<char>('D' + random() % 4)) + ":\\";
  const DateTime base = EncodeDateTime({2000, 1, 1, 0, 0, 0});
  auto time = [&] { return DateTimeToText(base + static_cast<double>(random() % (10u * 365 * 86400)) / 86400.0); };
  auto word = [&] { return words[random() % words.size()]; };

  struct Folder {
    std::string path;  // with trailing backslash
    int depth;
    std::vector<std::string> lines;
  };
  std::vector<Folder> folders = {{drive, 0, {}}};
  const int folder_count = 350 + static_cast<int>(random() % 100);
  for (int i = 1; i < folder_count; ++i) {
    size_t parent = random() % folders.size();
    if (folders[parent].depth >= 5) parent = 0;
    const std::string name = word() + " " + std::to_string(random() % 100);
    folders[parent].lines.push_back(folders[parent].path + "|" + name + "[]" + time());
    folders.push_back({folders[parent].path + name + "\\", folders[parent].depth + 1, {}});
  }
  for (int i = folder_count - 1; i < kEntriesPerDisc; ++i) {
    Folder& folder = folders[random() % folders.size()];
    const std::string name = word() + "_" + word() + " " + std::to_string(random() % 1000) +
                             kExtensions[random() % std::size(kExtensions)];
    folder.lines.push_back(folder.path + name + "[" + std::to_string(random() % 700000000) + "]" + time());
  }
  std::sort(folders.begin(), folders.end(), [](const Folder& a, const Folder& b) { return a.path > b.path; });
  std::string text;
  for (const Folder& folder : folders)
    for (const std::string& line : folder.lines) text += line + "\r\n";
  return text;
}

void GenerateOnce() {
  const std::string done = kRoot + "/complete";
  struct stat st;
  if (::stat(done.c_str(), &st) == 0) return;
  std::printf("generating %d snapshot files under %s ...\n", kDiscs, kDataFolder.c_str());
  std::system(("mkdir -p " + kDataFolder).c_str());
  std::mt19937 random(20060303);
  const std::vector<std::string> words = Words();
  for (int i = 0; i < kDiscs; ++i) {
    std::ofstream out(kDataFolder + DiscName(i) + ".cdg", std::ios::binary | std::ios::trunc);
    const std::string text = MakeSnapshot(random, words);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  std::ofstream(done) << "ok\n";
}

// The search the window runs, over every disc; returns the number of rows.
size_t Search(const std::vector<DiscListEntry>& discs, std::string_view text, MatchOptions options,
              const EntryConditions& conditions = {}) {
  NameMatcher matcher(text, options, conditions);
  SearchResults results;
  SearchDiscs(kDataFolder, discs, matcher, results, nullptr);
  return results.size();
}

}  // namespace

int main() {
  GenerateOnce();
  std::vector<DiscListEntry> discs;
  std::string files;
  for (int i = 0; i < kDiscs; ++i) {
    discs.push_back({"", DiscName(i)});
    files += " " + kDataFolder + DiscName(i) + ".cdg";
  }
  const double lines = static_cast<double>(kDiscs) * kEntriesPerDisc;

  // Warm the page cache.
  size_t bytes = 0;
  for (const DiscListEntry& disc : discs) bytes += Fs().ReadFile(SnapshotPathOf(kDataFolder, disc.disc_name))->size();
  std::printf("%d files, %.0f lines, %.1f MB\n", kDiscs, lines, bytes / 1e6);

  // Duplicates first, so that the peak memory they reach is their own: the
  // catalogue as it is (its names and sizes hardly meet), then with 1 % of
  // its discs catalogued twice.
  std::vector<DiscListEntry> with_copies = discs;
  with_copies.insert(with_copies.end(), discs.begin(), discs.begin() + kDiscs / 100);
  for (const auto* list : {&discs, &with_copies}) {
    struct rusage before;
    ::getrusage(RUSAGE_SELF, &before);
    size_t groups = 0;
    const Timing dupes = Seconds([&] { groups = FindDuplicates(kDataFolder, *list, 1, nullptr).groups.size(); });
    struct rusage after;
    ::getrusage(RUSAGE_SELF, &after);
    const Timing every_line = Seconds([&] { Search(*list, "?", {false, false}); });
    std::printf("duplicates of %zu discs: %.3f s (cpu %.3f s), %zu groups, peak memory +%.0f MB; search \"?\" %.3f s: "
                "x%.2f (goals < 3 s, < 1 GB)\n",
                list->size(), dupes.wall, dupes.cpu, groups, (after.ru_maxrss - before.ru_maxrss) / 1024.0,
                every_line.wall, dupes.wall / every_line.wall);
  }

  const std::string text = "live";
  const Timing read = Seconds([&] {
    for (const DiscListEntry& disc : discs) Fs().ReadFile(SnapshotPathOf(kDataFolder, disc.disc_name));
  });
  const Timing grep = Seconds([&] {
    const std::string command = "LC_ALL=C grep -c -i -F " + text + files + " | cat >/dev/null";
    if (std::system(command.c_str()) != 0) std::printf("grep failed\n");
  });
  std::printf("reference: reading the files alone %.3f s (cpu %.3f s); grep -c -i -F %s (LC_ALL=C) %.3f s (cpu %.3f s)\n",
              read.wall, read.cpu, text.c_str(), grep.wall, grep.cpu);

  size_t rows = 0;
  auto report = [&](const char* what, const Timing& t, const char* goal) {
    std::printf("%-28s %.3f s (cpu %.3f s): %5.1f M lines/s (per cpu s %5.1f M), %zu rows, x%.2f grep (cpu x%.2f) %s\n",
                what, t.wall, t.cpu, lines / t.wall / 1e6, lines / t.cpu / 1e6, rows, t.wall / grep.wall,
                t.cpu / grep.cpu, goal);
  };
  Timing t = Seconds([&] { rows = Search(discs, text, {false, false}); });
  report("case-insensitive \"live\"", t, "(goals >= 15 M lines/s, <= x2 grep)");
  t = Seconds([&] { rows = Search(discs, "Live", {true, false}); });
  report("case-sensitive \"Live\"", t, "");
  t = Seconds([&] { rows = Search(discs, Utf8ToGbk("七里香"), {false, false}); });
  report("Chinese text", t, "");
  t = Seconds([&] { rows = Search(discs, "*.mp3", {false, false}); });
  report("wildcard \"*.mp3\"", t, "(goal >= 10 M lines/s)");
  t = Seconds([&] { rows = Search(discs, "live_*.m?3", {false, false}); });
  report("wildcard \"live_*.m?3\"", t, "");
  t = Seconds([&] { rows = Search(discs, "?", {false, false}); });
  report("wildcard \"?\" (every line)", t, "");

  // Conditions: each timed in turns with its reference search.
  const DateTime day = EncodeDateTime({2005, 1, 1, 0, 0, 0});
  struct Conditioned {
    const char* what;
    std::string text;
    EntryConditions conditions;
    std::string reference_text;  // the search without conditions it is held against
    double goal;                 // greatest ratio
  };
  const Conditioned conditioned[] = {
      {"\"live\" >= 100M", "live", {100 << 20}, "live", 1.10},
      {"\"live\" files after 2005", "live", {std::nullopt, std::nullopt, day, std::nullopt, EntryKinds::kFiles}, "live", 1.10},
      {"\"*.mp3\" 1M..600M before 2005", "*.mp3", {1 << 20, 600 << 20, std::nullopt, day}, "*.mp3", 1.10},
      {"\"\" >= 600M (no name)", "", {600 << 20}, "*", 1.50},
      {"\"\" after 2005 (no name)", "", {std::nullopt, std::nullopt, day}, "*", 1.50},
  };
  for (const Conditioned& c : conditioned) {
    size_t conditioned_rows = 0;
    const auto [with, without] = bench::BestTimingsInTurns(
        [&] { conditioned_rows = Search(discs, c.text, {}, c.conditions); },
        [&] { rows = Search(discs, c.reference_text, {}); }, kRounds);
    std::printf("%-34s %.3f s (cpu %.3f s), %zu rows; \"%s\" alone %.3f s: x%.2f (cpu x%.2f, goal <= x%.2f)\n",
                c.what, with.wall, with.cpu, conditioned_rows, c.reference_text.c_str(), without.wall,
                with.wall / without.wall, with.cpu / without.cpu, c.goal);
  }
  return 0;
}
