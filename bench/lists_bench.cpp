// Writing the lists of 1,000,000 found entries into files as movra-cli
// search --output does, each format beside the tab-separated list of the
// same rows, timed in turns in the same run: CSV and file lists (.efu)
// should take at most twice the TSV's time, the web page under 3 s.
// Then the web page of every row is opened in headless Chromium, in turns
// with a page of a few rows (the browser's own start and first draw): the
// tree's top nodes should be drawn within 10 s of starting the browser.
// MOVRA_CHROMIUM names another browser program than /usr/bin/chromium.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "BenchBrowser.h"
#include "BenchNames.h"
#include "BenchTiming.h"
#include "lists/ListWriter.h"
#include "platform/DateTime.h"
#include "platform/FileSystem.h"
#include "workflows/ListExport.h"

using namespace movra;

namespace {

constexpr std::size_t kEntries = 1'000'000;
constexpr int kRounds = 3;
const std::string kFolder = "/tmp/movra-lists-bench";

// The rows of a search over 50 discs in 5 categories: folders 3 to 5 levels
// deep of about 12 entries each, Latin and Chinese names, times over 15 years.
struct Rows {
  std::vector<std::string> discs, folders, names;
  std::vector<FoundEntry> entries;
};

Rows MakeRows() {
  Rows rows;
  std::mt19937 random(20060303);
  const std::vector<std::string> words = bench::Words();
  auto word = [&] { return words[random() % words.size()]; };
  for (int d = 0; d < 50; ++d)
    rows.discs.push_back(word() + "\\" + word() + "_" + std::to_string(d) + "\\DVD_" + std::to_string(d));
  rows.folders.reserve(kEntries / 12 + 1);
  rows.names.reserve(kEntries);
  while (rows.names.size() < kEntries) {
    std::string folder = "E:\\";
    for (int level = 0, depth = 3 + static_cast<int>(random() % 3); level < depth; ++level)
      folder += word() + "_" + std::to_string(random() % 100) + "\\";
    rows.folders.push_back(folder);
    for (int i = 0; i < 12 && rows.names.size() < kEntries; ++i)
      rows.names.push_back(word() + " " + std::to_string(random() % 10000) +
                           bench::kExtensions[random() % std::size(bench::kExtensions)]);
  }
  const DateTime base = EncodeDateTime({2006, 1, 1, 0, 0, 0});
  rows.entries.reserve(kEntries);
  for (std::size_t i = 0; i < kEntries; ++i) {
    const bool is_file = random() % 10 != 0;
    rows.entries.push_back({rows.discs[i * 50 / kEntries], rows.folders[i / 12], rows.names[i], is_file,
                            is_file ? static_cast<std::int64_t>(random() % 700'000'000) : 0,
                            base + std::floor(static_cast<double>(random() % (15u * 365 * 86400))) / 86400.0});
  }
  return rows;
}

// Writes every entry in format into a file through the atomic list file.
void WriteList(std::span<const FoundEntry> entries, ListFormat format, const std::string& path) {
  auto [file, opened] = ListFile::Open(path);
  if (!file) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
  const std::unique_ptr<ListWriter> writer = MakeListWriter(format, *file);
  for (const FoundEntry& entry : entries) writer->Write(entry);
  if (!writer->Finish() || !file->Commit().ok()) {
    std::fprintf(stderr, "writing %s failed\n", path.c_str());
    std::exit(1);
  }
}

// The top nodes of a page of entries: their discs' first categories.
std::size_t TopNodes(std::span<const FoundEntry> entries) {
  std::set<std::string> top;
  for (const FoundEntry& entry : entries) top.emplace(entry.disc.substr(0, entry.disc.find('\\')));
  return top.size();
}

// Opens the page of every row, and a page of its first rows, in turns in a
// fresh headless Chromium each time; prints the best opening of each.
int TimePagesInBrowser(const Rows& rows) {
  const char* chosen = std::getenv("MOVRA_CHROMIUM");
  const std::string browser = chosen != nullptr && *chosen != '\0' ? chosen : "/usr/bin/chromium";
  if (::access(browser.c_str(), X_OK) != 0) {
    std::printf("page in a browser: skipped, %s is not installed (scripts/bench installs it)\n", browser.c_str());
    return 0;
  }
  const std::span<const FoundEntry> few(rows.entries.data(), 20);
  WriteList(few, ListFormat::kHtml, kFolder + "/few.html");
  struct Page {
    std::string label, file;
    std::size_t entries, top;
    bench::PageOpening best;
  } pages[] = {{"all", kFolder + "/list.html", rows.entries.size(), TopNodes(rows.entries), {}},
               {"few", kFolder + "/few.html", few.size(), TopNodes(few), {}}};
  for (int round = 0; round < kRounds; ++round) {
    for (Page& page : pages) {
      const bench::PageOpening opening =
          bench::OpenPage(browser, "file://" + page.file, "tree", kFolder + "/chromium-profile", 120);
      if (!opening.ok()) {
        std::printf("page in a browser: %s\n", opening.error.c_str());
        return 1;
      }
      if (opening.children != static_cast<int>(page.top)) {
        std::printf("page in a browser: %d top nodes drawn of %zu\n", opening.children, page.top);
        return 1;
      }
      if (round == 0 || opening.run < page.best.run) page.best = opening;
    }
  }
  std::filesystem::remove_all(kFolder + "/chromium-profile");
  std::printf("page in %s, best of %d openings in turns; times from the start of loading the file:\n",
              pages[0].best.browser.c_str(), kRounds);
  for (const Page& page : pages) {
    const bench::PageOpening& o = page.best;
    std::printf("%-4s %7zu entries: last byte read %6.3f s, %zu top nodes in the tree %6.3f s, drawn %6.3f s;"
                " with the browser's start (%5.3f s) %6.3f s\n",
                page.label.c_str(), page.entries, o.loaded / 1e3, page.top, o.shown / 1e3, o.drawn / 1e3, o.startup,
                o.run);
  }
  const bench::PageOpening &all = pages[0].best, &few_best = pages[1].best;
  std::printf("all - few: drawn %+.3f s (ratio %.1f), with the browser's start %+.3f s (ratio %.1f)\n",
              (all.drawn - few_best.drawn) / 1e3, all.drawn / few_best.drawn, all.run - few_best.run,
              all.run / few_best.run);
  return 0;
}

}  // namespace

int main() {
  std::system(("mkdir -p " + kFolder).c_str());
  const Rows rows = MakeRows();
  std::printf("%zu entries in %zu folders of %zu discs\n", rows.entries.size(), rows.folders.size(), rows.discs.size());
  const std::pair<const char*, ListFormat> formats[] = {
      {"csv", ListFormat::kCsv}, {"efu", ListFormat::kEfu}, {"html", ListFormat::kHtml}, {"json", ListFormat::kJson}};
  for (const auto& [name, format] : formats) {
    const auto [tsv, other] = bench::BestTimingsInTurns(
        [&] { WriteList(rows.entries, ListFormat::kTsv, kFolder + "/list.tsv"); },
        [&, format = format, name = name] { WriteList(rows.entries, format, kFolder + "/list." + name); }, kRounds);
    std::FILE* file = std::fopen((kFolder + "/list." + name).c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    const long bytes = std::ftell(file);
    std::fclose(file);
    std::printf("%-4s %6.3f s (cpu %6.3f s), %5.1f MB   tsv %6.3f s (cpu %6.3f s)   ratio %.2f (cpu %.2f)\n", name,
                other.wall, other.cpu, bytes / 1e6, tsv.wall, tsv.cpu, other.wall / tsv.wall, other.cpu / tsv.cpu);
  }
  return TimePagesInBrowser(rows);
}
