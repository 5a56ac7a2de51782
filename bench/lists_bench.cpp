// Writing the lists of 1,000,000 found entries into files as movra-cli
// search --output does, each format beside the tab-separated list of the
// same rows, timed in turns in the same run: CSV and file lists (.efu)
// should take at most twice the TSV's time, the web page under 3 s.
#include <cstdio>
#include <random>
#include <string>
#include <vector>

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

// Writes every row in format into a file through the atomic list file.
void WriteList(const Rows& rows, ListFormat format, const std::string& path) {
  auto [file, opened] = ListFile::Open(path);
  if (!file) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
  const std::unique_ptr<ListWriter> writer = MakeListWriter(format, *file);
  for (const FoundEntry& entry : rows.entries) writer->Write(entry);
  if (!writer->Finish() || !file->Commit().ok()) {
    std::fprintf(stderr, "writing %s failed\n", path.c_str());
    std::exit(1);
  }
}

}  // namespace

int main() {
  std::system(("mkdir -p " + kFolder).c_str());
  const Rows rows = MakeRows();
  std::printf("%zu entries in %zu folders of %zu discs\n", rows.entries.size(), rows.folders.size(), rows.discs.size());
  const std::pair<const char*, ListFormat> formats[] = {
      {"csv", ListFormat::kCsv}, {"efu", ListFormat::kEfu}, {"html", ListFormat::kHtml}, {"json", ListFormat::kJson}};
  for (const auto& [name, format] : formats) {
    const auto [tsv, other] = bench::BestTimingsInTurns([&] { WriteList(rows, ListFormat::kTsv, kFolder + "/list.tsv"); },
                                                        [&, format = format, name = name] {
                                                          WriteList(rows, format, kFolder + "/list." + name);
                                                        },
                                                        kRounds);
    std::FILE* file = std::fopen((kFolder + "/list." + name).c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    const long bytes = std::ftell(file);
    std::fclose(file);
    std::printf("%-4s %6.3f s (cpu %6.3f s), %5.1f MB   tsv %6.3f s (cpu %6.3f s)   ratio %.2f (cpu %.2f)\n", name,
                other.wall, other.cpu, bytes / 1e6, tsv.wall, tsv.cpu, other.wall / tsv.wall, other.cpu / tsv.cpu);
  }
  return 0;
}
