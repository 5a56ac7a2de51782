// The rows of a list view, kept apart from any widget: the content list's
// views adapt it, sorting reorders it and the status texts read it.
#pragma once

#include <array>
#include <cstdint>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace movra {

// One row of a list: a caption with an icon and, for listing rows, three
// sub-item texts (size, date, type).
struct ListRow {
  std::string caption;                 // text of the first column (GBK)
  int icon = -1;                       // image index; -1 for none
  bool hasSubItems = false;            // false for caption-only rows
  std::array<std::string, 3> subItems; // size, date and type texts (GBK)
  bool selected = false;               // selection state
  std::int64_t bytes = -1;             // exact size of a listed entry; -1 when only the size text is known
};

// An ordered list of rows with their selection.
class ListModel {
 public:
  // Number of sub-items a row can carry.
  static constexpr std::size_t kSubItemCount = 3;

  // Removes every row.
  void Clear();
  // Appends a row as given (its selected flag included).
  void Append(ListRow row);
  // Appends a caption-only row (no sub-items).
  void AppendCaption(std::string caption, int icon);
  // Appends a row with its three sub-item texts and, when known, the entry's exact size.
  void AppendRow(std::string caption, int icon, std::string size, std::string date, std::string type,
                 std::int64_t bytes = -1);
  // Hands out every row and leaves the model empty.
  std::vector<ListRow> TakeRows();
  // Reserves room for n rows.
  void Reserve(std::size_t n) { rows_.reserve(n); }

  // Number of rows.
  std::size_t Count() const { return rows_.size(); }
  // True when there is no row.
  bool Empty() const { return rows_.empty(); }
  // Row i (i < Count()).
  const ListRow& Row(std::size_t i) const { return rows_[i]; }
  // All rows in list order.
  const std::vector<ListRow>& Rows() const { return rows_; }
  // Sub-item k (0 size, 1 date, 2 type) of row i; empty when the row has none.
  const std::string& SubItem(std::size_t i, std::size_t k) const;

  // Sets the selection state of row i; true when it changed.
  bool SetSelected(std::size_t i, bool selected);
  // Selection state of row i.
  bool IsSelected(std::size_t i) const { return rows_[i].selected; }
  // Selects every row.
  void SelectAll();
  // Clears the selection of every row.
  void SelectNone();
  // Inverts the selection state of every row, one by one in list order.
  void InvertSelection();
  // Number of selected rows.
  std::size_t SelectedCount() const { return selectedCount_; }
  // Index of the first selected row, if any.
  std::optional<std::size_t> FirstSelected() const;
  // Indexes of the selected rows in list order.
  std::vector<std::size_t> SelectedIndexes() const;

 private:
  std::vector<ListRow> rows_;
  std::size_t selectedCount_ = 0;
};

}  // namespace movra
