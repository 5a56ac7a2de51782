// Duplicates across discs against a reference made from every file of every
// disc: the same groups, none invented, and the order by the bytes the extra
// copies take.
#include "workflows/FindDuplicates.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "search/NameMatcher.h"
#include "snapshot/SnapshotFile.h"
#include "support/TempDir.h"

namespace movra {
namespace {

// Names that meet in either case, a Chinese one, and sizes that often agree.
const char* const kNames[] = {"a.mp3", "A.MP3", "b.txt", "setup.exe", "\xC6\xDF\xC0\xEF\xCF\xE3.wav", "x"};

class FindDuplicatesTest : public ::testing::Test {
 protected:
  FindDuplicatesTest() { std::filesystem::create_directory(data_); }

  // Writes discs of random files; every copy is also filed in the reference.
  void MakeDiscs(int count, int files) {
    std::mt19937 random(20061111);
    for (int d = 0; d < count; ++d) {
      discs_.push_back({"", "D" + std::to_string(d)});
      SnapshotIndex snapshot;
      const std::string keys[] = {"E:\\", "E:\\SUB\\", "E:\\SUB\\DEEP\\"};
      for (int i = 0; i < files; ++i) {
        const std::string name = kNames[random() % std::size(kNames)];
        const std::string& key = keys[random() % std::size(keys)];
        const std::int64_t size = static_cast<std::int64_t>(random() % 4);  // 0 to 3 bytes
        snapshot.AddFile(key, name, 38779.0, size);
        std::string folded;
        FoldAsciiCase(name, folded);
        reference_[{folded, size}].push_back({static_cast<std::size_t>(d), key, name});
      }
      EXPECT_TRUE(WriteSnapshot(snapshot, SnapshotPathOf(data_, discs_.back().disc_name)));
    }
  }

  struct Copy {
    std::size_t disc;
    std::string folder, name;
    bool operator<(const Copy& o) const { return std::tie(disc, folder, name) < std::tie(o.disc, o.folder, o.name); }
    bool operator==(const Copy& o) const = default;
  };

  test::TempDir dir_;
  std::string data_ = dir_.path() + "/CDROM/";
  std::vector<DiscListEntry> discs_;
  std::map<std::pair<std::string, std::int64_t>, std::vector<Copy>> reference_;
};

TEST_F(FindDuplicatesTest, FindsExactlyTheFilesOnTwoOrMoreDiscsMostExtraBytesFirst) {
  MakeDiscs(5, 40);
  for (const std::int64_t min_size : {0, 1, 3}) {
    std::set<std::vector<Copy>> expected;
    for (const auto& [key, copies] : reference_) {
      std::set<std::size_t> on;
      for (const Copy& copy : copies) on.insert(copy.disc);
      const std::set<Copy> sorted(copies.begin(), copies.end());
      if (key.second >= min_size && on.size() >= 2) expected.emplace(sorted.begin(), sorted.end());
    }
    const DuplicatesOutcome found = FindDuplicates(data_, discs_, min_size, nullptr);
    ASSERT_EQ(found.end, SearchEnd::kCompleted);
    std::set<std::vector<Copy>> groups;
    for (std::size_t g = 0; g < found.groups.size(); ++g) {
      const DuplicateGroup& group = found.groups[g];
      std::set<Copy> copies;
      for (const DuplicateCopy& copy : group.copies) copies.insert({copy.disc, copy.folder, copy.name});
      groups.insert(std::vector<Copy>(copies.begin(), copies.end()));
      if (g > 0) {
        EXPECT_GE(found.groups[g - 1].ExtraBytes(), group.ExtraBytes());
      }
    }
    EXPECT_EQ(groups, expected) << "min size " << min_size;
    EXPECT_FALSE(expected.empty());
  }
}

TEST_F(FindDuplicatesTest, AFileOnOneDiscOnlyIsNoDuplicateHoweverOftenItIsThere) {
  MakeDiscs(1, 30);
  EXPECT_TRUE(FindDuplicates(data_, discs_, 0, nullptr).groups.empty());
  discs_.push_back({"", "MISSING"});
  const DuplicatesOutcome found = FindDuplicates(data_, discs_, 0, nullptr);
  EXPECT_TRUE(found.groups.empty());
  EXPECT_EQ(found.missing.size(), 1u);
}

}  // namespace
}  // namespace movra
