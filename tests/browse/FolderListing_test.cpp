#include "browse/FolderListing.h"

#include <gtest/gtest.h>

#include "platform/DateTime.h"
#include "snapshot/SnapshotIndex.h"

namespace movra {
namespace {

constexpr int kFolder = 9;

// Icons by extension: 1 for .txt, 2 for anything else, 0 without extension.
ListingIcons TestIcons() {
  return ListingIcons{kFolder, [](std::string_view ext) { return ext.empty() ? 0 : (ext == ".txt" ? 1 : 2); }};
}

std::vector<std::string> Captions(const ListModel& m) {
  std::vector<std::string> out;
  for (const ListRow& r : m.Rows()) out.push_back(r.caption);
  return out;
}

TEST(FolderListing, FoldersInLocaleOrderThenFilesInSnapshotOrder) {
  SnapshotIndex index;
  const DateTime when = 38779.3798842593;  // 2006-03-03 09:07:02
  index.AddFolder("E:\\", "b", when, 0);
  index.AddFolder("E:\\", "A", when, 0);
  index.AddFolder("E:\\", "c", when, 0);
  index.AddFile("E:\\", "z.txt", when, 1500000);
  index.AddFile("E:\\", "a.txt", when, 0);
  index.AddFile("E:\\", "README", when, 5000000000LL);
  index.AddFile("E:\\SUB\\", "deep.txt", when, 1);
  ListModel m;
  m.AppendRow("stale", 1, "", "", "");
  m.SetSelected(0, true);
  BuildFolderListing(index, "E:\\", TestIcons(), m);
  EXPECT_EQ(Captions(m), (std::vector<std::string>{"A", "b", "c", "z.txt", "a.txt", "README"}));
  EXPECT_EQ(m.SelectedCount(), 0u);
  // Folder row: empty size, date, 文件夹, folder icon.
  EXPECT_EQ(m.Row(0).icon, kFolder);
  EXPECT_EQ(m.SubItem(0, 0), "");
  EXPECT_EQ(m.SubItem(0, 1), "2006-03-03 09:07:02");
  EXPECT_EQ(m.SubItem(0, 2), "\xCE\xC4\xBC\xFE\xBC\xD0");
  // File rows: size text, 文件, icon of the extension; sizes beyond 32 bits.
  EXPECT_EQ(m.SubItem(3, 0), "1,464 KB");
  EXPECT_EQ(m.SubItem(3, 2), "\xCE\xC4\xBC\xFE");
  EXPECT_EQ(m.Row(3).icon, 1);
  EXPECT_EQ(m.SubItem(4, 0), "0 KB");
  EXPECT_EQ(m.SubItem(5, 0), "4,882,812 KB");
  EXPECT_EQ(m.Row(5).icon, 0);

  // A folder that holds nothing lists nothing.
  BuildFolderListing(index, "E:\\NONE\\", TestIcons(), m);
  EXPECT_TRUE(m.Empty());
}

TEST(FolderListing, ChineseFolderNamesFollowLatinOnesInPinyinOrder) {
  SnapshotIndex index;
  index.AddFolder("E:\\", "\xD6\xD0", 0, 0);  // 中
  index.AddFolder("E:\\", "\xB0\xA2", 0, 0);  // 阿
  index.AddFolder("E:\\", "Zoo", 0, 0);
  ListModel m;
  BuildFolderListing(index, "E:\\", TestIcons(), m);
  EXPECT_EQ(Captions(m), (std::vector<std::string>{"Zoo", "\xB0\xA2", "\xD6\xD0"}));
}

TEST(FolderListing, ExtensionIsTheTextFromTheLastDot) {
  EXPECT_EQ(ExtensionOf("a.tar.gz"), ".gz");
  EXPECT_EQ(ExtensionOf("README"), "");
  EXPECT_EQ(ExtensionOf(".profile"), ".profile");
  EXPECT_EQ(ExtensionOf("name."), ".");
  EXPECT_EQ(ExtensionOf("\x81\x5C.txt"), ".txt");  // a trail byte that is a backslash
}

TEST(FolderListing, MemoIsSplitAtEachMarker) {
  EXPECT_EQ(MemoLines("firstnbspsecondnbsp"), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(MemoLines("abc"), (std::vector<std::string>{"abc"}));
  EXPECT_EQ(MemoLines(""), (std::vector<std::string>{""}));
  EXPECT_EQ(MemoLines("nbsp"), (std::vector<std::string>{""}));
  EXPECT_EQ(MemoLines("anbspnbspb"), (std::vector<std::string>{"a", "", "b"}));
}

TEST(FolderListing, DiscInformationPage) {
  ListModel m;
  BuildDiscInformation("Title", "2006/3/3 9:07:02", "firstnbspsecondnbsp", 5, m);
  ASSERT_EQ(m.Count(), 7u);
  EXPECT_EQ(Captions(m), (std::vector<std::string>{"\xB9\xE2\xC5\xCC\xC3\xFB\xA3\xBA", "Title",
                                                   "\xB4\xE6\xB5\xB5\xC8\xD5\xC6\xDA\xA3\xBA", "2006/3/3 9:07:02",
                                                   "\xB1\xB8\x20\x20\xD7\xA2\xA3\xBA", "first", "second"}));
  const std::vector<int> icons = {5, -1, 5, -1, 5, -1, -1};
  for (std::size_t i = 0; i < m.Count(); ++i) {
    EXPECT_EQ(m.Row(i).icon, icons[i]) << i;
    EXPECT_FALSE(m.Row(i).hasSubItems);
  }
  BuildDiscInformation("", "", "", 5, m);
  EXPECT_EQ(m.Count(), 6u);  // a missing title and an empty memo still show their lines
  EXPECT_EQ(m.Row(1).caption, "");
  EXPECT_EQ(m.Row(5).caption, "");
}

ListModel Sized(std::vector<std::string> sizes) {
  ListModel m;
  for (std::string& s : sizes) m.AppendRow("x", 1, std::move(s), "", "");
  return m;
}

TEST(FolderListing, StatusCountsObjectsAndAddsTheirSizes) {
  ListModel m = Sized({"1 KB", "3 KB", "", "2 KB", "5 KB"});
  auto s = ComputeStatus(m, ShownNodeKind::Folder);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->count, "5\xB8\xF6\xB6\xD4\xCF\xF3");  // 5个对象
  EXPECT_EQ(s->total, "11 KB");
  m.SetSelected(0, true);
  m.SetSelected(1, true);
  s = ComputeStatus(m, ShownNodeKind::RootFolder);
  EXPECT_EQ(s->count, "\xD1\xA1\xB6\xA8\xC1\xCB" "2\xB8\xF6\xB6\xD4\xCF\xF3");  // 选定了2个对象
  EXPECT_EQ(s->total, "4 KB");
  // A caption-only row counts as nothing.
  ListModel info;
  info.AppendCaption("memo", -1);
  EXPECT_EQ(ComputeStatus(info, ShownNodeKind::Folder)->total, "0 KB");
}

TEST(FolderListing, StatusTotalAddsExactSizesNotTheRoundedTexts) {
  // Files of 1, 1,000 and 32,088 bytes show as 1 KB, 1 KB and 32 KB; together they are 33,089 bytes.
  SnapshotIndex index;
  const DateTime when = EncodeDateTime({2006, 3, 3, 9, 7, 2});
  index.AddFolder("E:\\", "sub", when, 0);
  for (std::int64_t size : {1, 1000, 32088}) index.AddFile("E:\\", "f" + std::to_string(size), when, size);
  ListModel m;
  BuildFolderListing(index, "E:\\", ListingIcons{}, m);
  EXPECT_EQ(ComputeStatus(m, ShownNodeKind::Folder)->total, "32.31 KB");
  m.SetSelected(1, true);
  m.SetSelected(2, true);
  EXPECT_EQ(ComputeStatus(m, ShownNodeKind::Folder)->total, "0.98 KB");
}

TEST(FolderListing, StatusKeepsItsTextsForCategoriesDiscsAndEmptyLists) {
  ListModel m = Sized({"1 KB"});
  EXPECT_FALSE(ComputeStatus(m, ShownNodeKind::Category));
  EXPECT_FALSE(ComputeStatus(m, ShownNodeKind::Disc));
  EXPECT_FALSE(ComputeStatus(m, ShownNodeKind::None));
  EXPECT_FALSE(ComputeStatus(ListModel(), ShownNodeKind::Folder));
  // Another kind of node without a selection blanks both panels.
  auto s = ComputeStatus(m, ShownNodeKind::Other);
  ASSERT_TRUE(s);
  EXPECT_EQ(s->count, "");
  EXPECT_EQ(s->total, "");
}

TEST(FolderListing, StatusTotalsOfTwoGigabytesAndMore) {
  // Three files of 1 GiB each: 3 GiB would wrap a 32-bit total.
  ListModel m = Sized({"1,048,576 KB", "1,048,576 KB", "1,048,576 KB"});
  m.SelectAll();
  EXPECT_EQ(ComputeStatus(m, ShownNodeKind::Folder)->total, "3 GB");
  ListModel big = Sized({"4,194,304 KB", "1,024 KB"});  // 4 GiB + 1 MiB
  EXPECT_EQ(ComputeStatus(big, ShownNodeKind::Folder)->total, "4 GB");
}

}  // namespace
}  // namespace movra
