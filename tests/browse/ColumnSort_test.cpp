#include "browse/ColumnSort.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

constexpr int kFolder = 7;
const std::string kFolderType = "\xCE\xC4\xBC\xFE\xBC\xD0";
const std::string kFileType = "\xCE\xC4\xBC\xFE";

std::vector<std::string> Captions(const ListModel& m) {
  std::vector<std::string> out;
  for (const ListRow& r : m.Rows()) out.push_back(r.caption);
  return out;
}

// Folders B and a, files c.txt and A.txt, as a listing shows them.
ListModel Listing() {
  ListModel m;
  m.AppendRow("B", kFolder, "", "2006-03-03 09:07:02", kFolderType);
  m.AppendRow("a", kFolder, "", "2005-01-01 00:00:00", kFolderType);
  m.AppendRow("c.txt", 3, "2 KB", "2004-01-01 00:00:00", kFileType);
  m.AppendRow("A.txt", 2, "0 KB", "2007-01-01 00:00:00", kFileType);
  return m;
}

TEST(ColumnSort, NameSortIgnoresCaseAndAlternatesDirection) {
  ListModel m = Listing();
  ColumnSorter sorter;
  ASSERT_TRUE(sorter.Sort(m, kColumnName, kFolder, false));
  EXPECT_EQ(Captions(m), (std::vector<std::string>{"a", "B", "A.txt", "c.txt"}));
  ASSERT_TRUE(sorter.Sort(m, kColumnName, kFolder, false));
  EXPECT_EQ(Captions(m), (std::vector<std::string>{"B", "a", "c.txt", "A.txt"}));
  // Texts come back as they were shown: folders keep an empty size, 0 KB stays.
  EXPECT_EQ(m.SubItem(0, 0), "");
  EXPECT_EQ(m.SubItem(3, 0), "0 KB");
  EXPECT_EQ(m.SubItem(2, 0), "2 KB");
  EXPECT_EQ(m.SubItem(2, 1), "2004-01-01 00:00:00");
  EXPECT_EQ(m.SubItem(0, 2), kFolderType);
  EXPECT_EQ(m.Row(3).icon, 2);
}

TEST(ColumnSort, TheDirectionFlagIsSharedByAllColumns) {
  ListModel m = Listing();
  ColumnSorter sorter;
  sorter.Sort(m, kColumnName, kFolder, false);
  // The second sort of the run is descending, whatever its column.
  sorter.Sort(m, kColumnSize, kFolder, false);
  EXPECT_EQ(Captions(m)[2], "c.txt");
  EXPECT_EQ(Captions(m)[3], "A.txt");
  sorter.Sort(m, kColumnModified, kFolder, false);
  EXPECT_EQ(Captions(m), (std::vector<std::string>{"a", "B", "c.txt", "A.txt"}));
  sorter.Sort(m, kColumnType, kFolder, false);  // icon 3 before icon 2, reversed
  EXPECT_EQ(Captions(m)[2], "c.txt");
  EXPECT_FALSE(sorter.NextIsReversed());
}

TEST(ColumnSort, NothingChangesForACategoryOrDisc) {
  ListModel m = Listing();
  m.SetSelected(1, true);
  ColumnSorter sorter;
  EXPECT_FALSE(sorter.Sort(m, kColumnName, kFolder, true));
  EXPECT_EQ(Captions(m), Captions(Listing()));
  EXPECT_EQ(m.SelectedCount(), 1u);
  EXPECT_FALSE(sorter.NextIsReversed());
}

TEST(ColumnSort, EmptyListingsAndUnknownCaptionsStillToggle) {
  ListModel empty;
  ColumnSorter sorter;
  EXPECT_TRUE(sorter.Sort(empty, kColumnName, kFolder, false));
  EXPECT_TRUE(empty.Empty());
  EXPECT_TRUE(sorter.NextIsReversed());
  // An unknown caption keeps each group's order, reversed on alternate sorts,
  // and still puts folders first.
  ListModel m;
  m.AppendRow("f1", 1, "1 KB", "", kFileType);
  m.AppendRow("d1", kFolder, "", "", kFolderType);
  m.AppendRow("f2", 1, "1 KB", "", kFileType);
  sorter.Sort(m, "other", kFolder, false);
  EXPECT_EQ(Captions(m), (std::vector<std::string>{"d1", "f2", "f1"}));
  EXPECT_FALSE(sorter.NextIsReversed());
}

TEST(ColumnSort, KeysCompareAsTheCaptionsSay) {
  ListModel m;
  // Sizes at whole-kilobyte grain, beyond 32 bits too.
  m.AppendRow("big", 1, "4,194,304 KB", "", kFileType);   // 4 GiB
  m.AppendRow("small", 1, "9 KB", "", kFileType);
  m.AppendRow("mid", 1, "1,000 KB", "", kFileType);
  ColumnSorter sorter;
  sorter.Sort(m, kColumnSize, kFolder, false);
  EXPECT_EQ(Captions(m), (std::vector<std::string>{"small", "mid", "big"}));
  EXPECT_EQ(m.SubItem(2, 0), "4,194,304 KB");

  // Names: unsigned bytes after ASCII folding, a prefix first. The trail byte
  // of 0x81 0x42 is a 'B' that must not be folded, or it would sort after 0x81 'a'.
  ListModel names;
  names.AppendRow("ab", 1, "1 KB", "", kFileType);
  names.AppendRow("a", 1, "1 KB", "", kFileType);
  names.AppendRow("\xB0\xA2", 1, "1 KB", "", kFileType);  // 阿
  names.AppendRow("Z", 1, "1 KB", "", kFileType);
  names.AppendRow("\x81\x42", 1, "1 KB", "", kFileType);
  names.AppendRow("\x81" "a", 1, "1 KB", "", kFileType);
  ColumnSorter byName;
  byName.Sort(names, kColumnName, kFolder, false);
  EXPECT_EQ(Captions(names),
            (std::vector<std::string>{"a", "ab", "Z", "\x81\x42", "\x81" "a", "\xB0\xA2"}));
}

TEST(ColumnSort, RowsComeBackUnselectedAndCaptionOnlyRowsStayBare) {
  ListModel m = Listing();
  m.AppendCaption("memo line", -1);
  m.SelectAll();
  ColumnSorter sorter;
  sorter.Sort(m, kColumnName, kFolder, false);
  EXPECT_EQ(m.SelectedCount(), 0u);
  ASSERT_EQ(m.Count(), 5u);
  const ListRow& memo = m.Row(4);
  EXPECT_EQ(memo.caption, "memo line");
  EXPECT_FALSE(memo.hasSubItems);
}

TEST(ColumnSort, ArrangeCommandsSortByTheColumnTheyName) {
  EXPECT_EQ(ArrangeColumn(ArrangeCommand::ByName), 0);
  EXPECT_EQ(ArrangeColumn(ArrangeCommand::BySize), 1);
  EXPECT_EQ(ArrangeColumn(ArrangeCommand::ByDate), 2);
  EXPECT_EQ(ArrangeColumn(ArrangeCommand::ByType), 3);
  EXPECT_EQ(SortKeyOfCaption(kColumnModified), SortKey::Date);
  EXPECT_EQ(SortKeyOfCaption(kColumnType), SortKey::Icon);
  EXPECT_EQ(SortKeyOfCaption(""), SortKey::None);
}

}  // namespace
}  // namespace movra
