// Comparing two snapshots of 1,000,000 entries each (100,000 folders of
// nine files), with a few thousand entries added, removed and changed, beside
// copying one of the snapshots in the same run.
#include <cstdio>
#include <string>

#include "BenchTiming.h"
#include "snapshot/SnapshotDiff.h"

namespace {

// A snapshot in which every step-th file is changed, removed or added relative to variant 0.
movra::SnapshotIndex MakeSnapshot(int variant) {
  movra::SnapshotIndex index;
  const movra::DateTime t = 45000.5;
  for (int d = 0; d < 100'000; ++d) {
    const std::string name = "folder_" + std::to_string(d);
    index.AddFolder("D:\\", name, t, 0);
    const std::string key = "D:\\" + name + "\\";
    for (int f = 0; f < 9; ++f) {
      const bool touched = variant == 1 && (d * 9 + f) % 997 == 0;
      if (touched && f == 0) continue;  // removed
      index.AddFile(key, "file_" + std::to_string(f) + ".dat", t, touched ? 2 : 1);
    }
    if (variant == 1 && d % 997 == 0) index.AddFile(key, "added.dat", t, 1);
  }
  return index;
}

}  // namespace

int main() {
  const movra::SnapshotIndex old_index = MakeSnapshot(0);
  const movra::SnapshotIndex new_index = MakeSnapshot(1);
  movra::SnapshotDiff diff;
  auto compare = [&] { diff = movra::DiffSnapshots(old_index, new_index); };
  auto copy = [&] {
    movra::SnapshotIndex copied(old_index);
    if (copied.Count() != old_index.Count()) std::fprintf(stderr, "copy failed\n");
  };
  const double ours = movra::bench::BestSeconds(compare, 5);
  const double reference = movra::bench::BestSeconds(copy, 5);
  std::printf("diff of %zu against %zu entries (+%zu -%zu ~%zu): %.3f s (goal < 1 s)   copy of one snapshot "
              "(reference): %.3f s   ratio %.2f\n",
              old_index.Count(), new_index.Count(), diff.added, diff.removed, diff.changed, ours, reference,
              ours / reference);
  return 0;
}
