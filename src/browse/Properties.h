// The lines of the properties box: for an entry of a disc (a file or a
// folder, from the content list or the search results) and for a disc.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace movra {

// One line of the box: a label and its value (both GBK).
struct PropertyLine {
  std::string label;  // e.g. 名称：
  std::string value;  // may hold line breaks (a memo)
};

// What is known of an entry of a disc.
struct EntryFacts {
  std::string name;          // the entry's own name
  std::string disc;          // the disc it is on
  std::string folder;        // its folder key with the trailing backslash ("E:\VIDEO\")
  bool is_folder = false;    // folders have no size line
  std::int64_t bytes = 0;    // exact size of a file
  std::string modified;      // the date text as the lists show it
};

// What is known of a disc.
struct DiscFacts {
  std::string name;          // the disc name
  std::string category;      // its category path ("电影\动作"); empty when filed directly
  std::string time;          // the date it was catalogued, as stored
  std::string memo;          // the memo as stored (lines ended by "nbsp")
  std::size_t entries = 0;   // folders and files of its snapshot
  std::int64_t bytes = 0;    // total size of its files
};

// "33,089 字节（32 KB）": the exact byte count and shown beside it the given text.
std::string BytesText(std::int64_t bytes, const std::string& shown);

// 名称, 光盘, 路径, 类型, 大小 (files only) and 修改时间 of an entry.
std::vector<PropertyLine> EntryProperties(const EntryFacts& entry);

// 光盘名, 分类, 存档日期, 备注 (one line per memo line), 对象 and 总大小 of a disc.
std::vector<PropertyLine> DiscProperties(const DiscFacts& disc);

}  // namespace movra
