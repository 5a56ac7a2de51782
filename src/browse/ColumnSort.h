// Re-ordering the content list by a column: folders and files are sorted
// apart by the key the column's caption names, folders stay above files, and
// every other sort (across all columns) comes out reversed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "browse/ListModel.h"

namespace movra {

// Column captions of the content list (GBK): 名称, 大小, 修改时间, 类型.
inline constexpr std::string_view kColumnName = "\xC3\xFB\xB3\xC6";
inline constexpr std::string_view kColumnSize = "\xB4\xF3\xD0\xA1";
inline constexpr std::string_view kColumnModified = "\xD0\xDE\xB8\xC4\xCA\xB1\xBC\xE4";
inline constexpr std::string_view kColumnType = "\xC0\xE0\xD0\xCD";

// The key a sort uses.
enum class SortKey { None, Name, Size, Date, Icon };

// The key of a column caption; None for a caption that sorts nothing.
SortKey SortKeyOfCaption(std::string_view caption);

// The arrange commands of the View menu and of the list's context menu.
enum class ArrangeCommand { ByName, ByType, BySize, ByDate };

// The content-list column (0-based) an arrange command sorts by: by name the
// name column, by size the size column, by type the type column and by date
// the modified column.
int ArrangeColumn(ArrangeCommand command);

// One captured row.
struct SortItem {
  int icon = -1;            // icon index
  std::string name;         // caption
  std::string foldedName;   // caption with ASCII letters lower-cased (the name key)
  std::int64_t size = 0;    // bytes read back from the size text
  std::string date;         // date text as shown
  std::string type;         // type text as shown
  bool hasSubItems = false; // false for caption-only rows
};

// The sorter of the content list, with its direction flag shared by all columns.
class ColumnSorter {
 public:
  // Sorts model by the column with this caption; rows whose icon is
  // folderIcon are folders. When a category or disc node is shown nothing
  // happens and false is returned. Otherwise the rows come back unselected,
  // folders first, and the direction flag toggles.
  bool Sort(ListModel& model, std::string_view caption, int folderIcon, bool categoryOrDiscShown);
  // True when the next sort comes out reversed.
  bool NextIsReversed() const { return reversed_; }

 private:
  bool reversed_ = false;
  std::vector<SortItem> folders_;
  std::vector<SortItem> files_;
};

}  // namespace movra
