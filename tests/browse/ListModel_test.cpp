#include "browse/ListModel.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

ListModel FiveRows() {
  ListModel m;
  for (int i = 0; i < 4; ++i) m.AppendRow("r" + std::to_string(i), 1, "1 KB", "d", "t");
  m.AppendCaption("memo", -1);
  return m;
}

TEST(ListModel, SelectionCountFollowsEveryKindOfChange) {
  ListModel m = FiveRows();
  EXPECT_EQ(m.SelectedCount(), 0u);
  EXPECT_FALSE(m.FirstSelected());
  EXPECT_TRUE(m.SetSelected(3, true));
  EXPECT_FALSE(m.SetSelected(3, true));  // no change, no double count
  EXPECT_TRUE(m.SetSelected(1, true));
  EXPECT_EQ(m.SelectedCount(), 2u);
  EXPECT_EQ(*m.FirstSelected(), 1u);
  m.InvertSelection();
  EXPECT_EQ(m.SelectedIndexes(), (std::vector<std::size_t>{0, 2, 4}));
  EXPECT_EQ(m.SelectedCount(), 3u);
  m.SelectAll();
  EXPECT_EQ(m.SelectedCount(), 5u);
  m.SelectNone();
  EXPECT_EQ(m.SelectedCount(), 0u);
  ListRow row;
  row.caption = "x";
  row.selected = true;
  m.Append(row);
  EXPECT_EQ(m.SelectedCount(), 1u);
  EXPECT_EQ(*m.FirstSelected(), 5u);
  m.Clear();
  EXPECT_EQ(m.SelectedCount(), 0u);
  EXPECT_TRUE(m.Empty());
}

TEST(ListModel, CaptionOnlyRowsHaveEmptySubItems) {
  ListModel m = FiveRows();
  EXPECT_EQ(m.SubItem(0, 0), "1 KB");
  EXPECT_EQ(m.SubItem(0, 2), "t");
  EXPECT_FALSE(m.Row(4).hasSubItems);
  EXPECT_EQ(m.SubItem(4, 0), "");
  EXPECT_EQ(m.SubItem(0, 3), "");  // beyond the three sub-items
}

}  // namespace
}  // namespace movra
