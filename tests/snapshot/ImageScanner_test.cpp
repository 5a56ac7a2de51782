#include "snapshot/ImageScanner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/IsoSerial.h"
#include "snapshot/EntryOrder.h"
#include "support/System.h"
#include "support/TempDir.h"

namespace movra {
namespace {

using ::testing::ElementsAre;
using ::testing::StartsWith;

using test::ToolArgument;

bool Have(const char* tool) { return test::ToolPath(tool).has_value(); }

void Tool(const std::string& name, const std::vector<std::string>& arguments) {
  ASSERT_EQ(test::RunTool(name, arguments), 0) << name << " " << ::testing::PrintToString(arguments);
}

// Overwrites the 5 bytes of a bridge image's ISO 9660 descriptor name, so only UDF remains.
void HideIsoSide(const std::string& image) {
  std::string bytes = test::ReadBytes(image);
  ASSERT_GT(bytes.size(), 32774u);
  bytes.replace(32769, 5, "XXXXX");
  test::WriteBytes(image, bytes);
}

// Every entry of an index as one sortable line.
std::vector<std::string> Lines(const SnapshotIndex& index) {
  std::vector<std::string> lines;
  for (const SnapshotEntryView e : index) {
    lines.push_back(std::string(e.key) + "|" + std::string(e.name) + "|" + (e.isFile ? "F" : "D") + "|" +
                    std::to_string(e.size) + "|" + std::to_string(e.modified));
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

// A tree with Chinese names, names differing in case, a deep chain and more
// entries than one progress report covers; the optical drive D: is its root.
class ImageScannerTest : public ::testing::Test {
 protected:
  ImageScannerTest() : drives_({{'D', dir_ / "content", "", true}}) {
    test::WriteBytes(content("b.txt"), "bb");
    test::WriteBytes(content("A.txt"), "a");
    test::WriteBytes(content("C.txt"), std::string(5000, 'c'));
    test::WriteBytes(content("VIDEO/A.VOB"), "vob");
    test::WriteBytes(content("\xE5\x85\x89\xE7\x9B\x98/\xE8\xAF\xB4\xE6\x98\x8E.txt"), "readme");  // 光盘/说明.txt
    test::WriteBytes(content("audio/x"), "");
    std::string deep = "d0";
    for (int i = 1; i < 12; ++i) deep += "/d" + std::to_string(i);
    test::WriteBytes(content(deep + "/leaf.txt"), "leaf");
    for (int i = 0; i < 600; ++i) test::WriteBytes(content("many/f" + std::to_string(i)), "");
  }

  std::string content(const std::string& relative) const { return dir_ / ("content/" + relative); }

  // An image of the tree made with xorriso's mkisofs emulation and options.
  std::string MakeIso(std::vector<std::string> options) {
    const std::string image = dir_ / "disc.iso";
    options.insert(options.begin(), {"-as", "mkisofs"});
    options.insert(options.end(), {"-o", ToolArgument(image), ToolArgument(dir_ / "content")});
    Tool("xorriso", options);
    return image;
  }

  SnapshotIndex ScanOfTree() {
    SnapshotIndex index;
    ScanFolder(index, drives_, "D:\\");
    return index;
  }

  test::TempDir dir_;
  DriveMap drives_;
};

TEST_F(ImageScannerTest, IsoImagesGiveTheScanOfTheSameTree) {
  if (!Have("xorriso")) GTEST_SKIP() << "xorriso is not installed";
  const std::vector<std::string> expected = Lines(ScanOfTree());
  for (const std::vector<std::string>& options : std::vector<std::vector<std::string>>{{"-J", "-R"}, {"-J"}, {"-R"}}) {
    SCOPED_TRACE(::testing::PrintToString(options));
    SnapshotIndex index;
    ASSERT_EQ(ScanImage(index, MakeIso(options), ImageRootKey(drives_)), ImageScanResult::kRead);
    EXPECT_EQ(Lines(index), expected);
    // Per folder: sub-folders, then files, each by name with case ignored.
    std::vector<FolderItem> folders;
    index.ListFolders("D:\\", folders);
    ASSERT_EQ(folders.size(), 5u);
    EXPECT_EQ(folders[0].name, "audio");
    EXPECT_EQ(folders[4].name, "\xB9\xE2\xC5\xCC");  // 光盘 after every Latin name
    std::vector<FileItem> files;
    index.ListFiles("D:\\", files);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].name + files[1].name + files[2].name, "A.txtb.txtC.txt");
    EXPECT_EQ(files[2].size, 5000);
  }
}

TEST_F(ImageScannerTest, UdfImageGivesTheScanOfTheSameTree) {
  if (!Have("genisoimage")) GTEST_SKIP() << "genisoimage is not installed";
  const std::string image = dir_ / "disc.udf";
  Tool("genisoimage", {"-input-charset", "utf-8", "-udf", "-D", "-V", "MOVIE", "-o", ToolArgument(image),
                       ToolArgument(dir_ / "content")});
  HideIsoSide(image);
  SnapshotIndex index;
  ASSERT_EQ(ScanImage(index, image, "D:\\"), ImageScanResult::kRead);
  EXPECT_EQ(Lines(index), Lines(ScanOfTree()));
  const std::optional<ImageVolume> volume = ReadImageVolume(image);
  ASSERT_TRUE(volume);
  EXPECT_EQ(volume->label, "MOVIE");
  EXPECT_FALSE(volume->serial);
  // The same under a Chinese name.
  const std::string named = dir_ / "\xE5\x85\x89\xE7\x9B\x98.udf";
  test::WriteBytes(named, test::ReadBytes(image));
  SnapshotIndex again;
  ASSERT_EQ(ScanImage(again, named, "D:\\"), ImageScanResult::kRead);
  EXPECT_EQ(Lines(again), Lines(index));
}

// Offset of the UDF file identifier descriptor naming name (8-bit form), or npos.
std::size_t FidOf(const std::string& bytes, const std::string& name) {
  for (std::size_t i = 0; i + 64 < bytes.size(); i += 4) {
    if (bytes[i] != 1 || bytes[i + 1] != 1 || static_cast<std::size_t>(bytes[i + 19]) != name.size() + 1) continue;
    const std::size_t id = i + 38 + static_cast<unsigned char>(bytes[i + 36]);
    if (bytes[id] == 8 && bytes.compare(id + 1, name.size(), name) == 0) return i;
  }
  return std::string::npos;
}

TEST_F(ImageScannerTest, UdfFolderThatLeadsBackIsNotWalkedAgain) {
  if (!Have("genisoimage")) GTEST_SKIP() << "genisoimage is not installed";
  test::WriteBytes(dir_ / "loop/loop/sub/f", "f");
  const std::string image = dir_ / "loop.udf";
  Tool("genisoimage", {"-input-charset", "utf-8", "-udf", "-o", ToolArgument(image), ToolArgument(dir_ / "loop")});
  HideIsoSide(image);
  // Point loop/sub at loop itself, as a damaged image might.
  std::string bytes = test::ReadBytes(image);
  const std::size_t loop = FidOf(bytes, "loop"), sub = FidOf(bytes, "sub");
  ASSERT_NE(loop, std::string::npos);
  ASSERT_NE(sub, std::string::npos);
  bytes.replace(sub + 24, 4, bytes, loop + 24, 4);
  test::WriteBytes(image, bytes);
  SnapshotIndex index;
  ASSERT_EQ(ScanImage(index, image, "D:\\"), ImageScanResult::kRead);
  EXPECT_THAT(Lines(index), ElementsAre(StartsWith("D:\\loop\\|sub|D|"), StartsWith("D:\\|loop|D|")));
}

TEST_F(ImageScannerTest, EmptyUdfFileSystemsMadeByMkudffs) {
  if (!Have("mkudffs")) GTEST_SKIP() << "udftools is not installed";
  // UDF 1.02 (DVD-Video) is read; a revision the reader does not know is refused.
  auto make = [&](const std::string& name, const std::string& revision) {
    const std::string image = dir_ / name;
    test::WriteBytes(image, std::string(4 << 20, '\0'));
    Tool("mkudffs", {"--media-type=dvd", "--udfrev=" + revision, "--label=BLANK", ToolArgument(image)});
    return image;
  };
  const std::string v102 = make("v102.udf", "0x0102");
  SnapshotIndex index;
  EXPECT_EQ(ScanImage(index, v102, "E:\\"), ImageScanResult::kRead);
  EXPECT_EQ(index.Count(), 0u);
  ASSERT_TRUE(ReadImageVolume(v102));
  EXPECT_EQ(ReadImageVolume(v102)->label, "BLANK");
  EXPECT_EQ(ScanImage(index, make("v201.udf", "0x0201"), "E:\\"), ImageScanResult::kUnreadable);
}

TEST_F(ImageScannerTest, LabelSerialCancelAndRefusal) {
  if (!Have("xorriso")) GTEST_SKIP() << "xorriso is not installed";
  const std::string image = MakeIso({"-J", "-R", "-V", "\xE5\x85\x89\xE7\x9B\x98 2006"});
  const std::optional<ImageVolume> volume = ReadImageVolume(image);
  ASSERT_TRUE(volume);
  EXPECT_EQ(volume->label, "\xB9\xE2\xC5\xCC 2006");
  EXPECT_EQ(volume->serial, ReadIsoSerial(image));

  SnapshotIndex index;
  EXPECT_EQ(ScanImage(index, image, "D:\\", [](const ScanProgress&) { return false; }),
            ImageScanResult::kCancelled);

  // Neither ISO 9660 nor UDF, a cut-off image, a missing file.
  test::WriteBytes(dir_ / "noise.iso", std::string(300 * 1024, 'x'));
  test::WriteBytes(dir_ / "cut.iso", test::ReadBytes(image).substr(0, 40000));
  for (const std::string& bad : {dir_ / "noise.iso", dir_ / "cut.iso", dir_ / "missing.iso"}) {
    SnapshotIndex none;
    EXPECT_EQ(ScanImage(none, bad, "D:\\"), ImageScanResult::kUnreadable) << bad;
  }
  EXPECT_FALSE(ReadImageVolume(dir_ / "noise.iso"));
}

TEST_F(ImageScannerTest, AnImageUnderAChineseNameIsRead) {
  if (!Have("xorriso")) GTEST_SKIP() << "xorriso is not installed";
  const std::string named = dir_ / "\xE5\x85\x89\xE7\x9B\x98.iso";  // 光盘.iso
  test::WriteBytes(named, test::ReadBytes(MakeIso({"-J", "-R"})));
  SnapshotIndex index;
  ASSERT_EQ(ScanImage(index, named, "D:\\"), ImageScanResult::kRead);
  EXPECT_EQ(Lines(index), Lines(ScanOfTree()));
  EXPECT_TRUE(ReadImageVolume(named));
}

TEST_F(ImageScannerTest, FoldersOfAnImageListSubFoldersFirstThenFilesEachByName) {
  if (!Have("xorriso")) GTEST_SKIP() << "xorriso is not installed";
  SnapshotIndex index;
  ASSERT_EQ(ScanImage(index, MakeIso({"-J", "-R"}), "D:\\"), ImageScanResult::kRead);
  std::vector<std::string> root;
  for (const SnapshotEntryView e : index) {
    if (e.key == "D:\\") root.push_back(std::string(e.isFile ? "F " : "D ") + std::string(e.name));
  }
  // In index order, unsorted: the order the folder listing and the snapshot file keep.
  EXPECT_THAT(root, ElementsAre("D audio", "D d0", "D many", "D VIDEO", "D \xB9\xE2\xC5\xCC", "F A.txt", "F b.txt",
                                "F C.txt"));
}

TEST(EntryOrderTest, AsciiCaseIgnoredOtherBytesByValue) {
  std::vector<std::string> names = {"b", "\xB9\xE2", "B1", "a", "_x", "Z", "\x81\x5A", "\x81\x61"};
  std::stable_sort(names.begin(), names.end(), EntryNameLess);
  // Letters compare in upper case, so '_' (0x5F) follows them as on NTFS;
  // a trail byte 0x61 ('a') is compared as it is, not folded.
  EXPECT_THAT(names, ElementsAre("a", "b", "B1", "Z", "_x", "\x81\x5A", "\x81\x61", "\xB9\xE2"));
  EXPECT_EQ(ImageRootKey(DriveMap()), "E:\\");
}

TEST_F(ImageScannerTest, ExclusionsLeaveOutWhatTheyLeaveOutOfTheTree) {
  if (!Have("xorriso")) GTEST_SKIP() << "xorriso is not installed";
  const ScanExclusions exclude({"many", "*.vob", "d3"});
  SnapshotIndex tree;
  ScanFolder(tree, drives_, "D:\\", {}, exclude);
  SnapshotIndex image;
  ASSERT_EQ(ScanImage(image, MakeIso({"-J", "-R"}), "D:\\", {}, exclude), ImageScanResult::kRead);
  EXPECT_EQ(Lines(image), Lines(tree));
  EXPECT_LT(image.Count(), ScanOfTree().Count() - 600);
}

}  // namespace
}  // namespace movra
