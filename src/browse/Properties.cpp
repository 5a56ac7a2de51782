#include "browse/Properties.h"

#include "browse/DisplayFormat.h"
#include "browse/FolderListing.h"
#include "platform/TextCodec.h"

namespace movra {

std::string BytesText(std::int64_t bytes, const std::string& shown) {
  const std::uint64_t n = bytes < 0 ? 0 : static_cast<std::uint64_t>(bytes);
  return GroupedDigits(n) + Utf8ToGbk(" 字节（") + shown + Utf8ToGbk("）");
}

std::vector<PropertyLine> EntryProperties(const EntryFacts& entry) {
  std::vector<PropertyLine> lines;
  lines.push_back({Utf8ToGbk("名称："), entry.name});
  lines.push_back({Utf8ToGbk("光盘："), entry.disc});
  lines.push_back({Utf8ToGbk("路径："), entry.folder + entry.name});
  lines.push_back({Utf8ToGbk("类型："), std::string(entry.is_folder ? kTypeFolder : kTypeFile)});
  if (!entry.is_folder) lines.push_back({Utf8ToGbk("大小："), BytesText(entry.bytes, FormatSize(entry.bytes))});
  lines.push_back({Utf8ToGbk("修改时间："), entry.modified});
  return lines;
}

std::vector<PropertyLine> DiscProperties(const DiscFacts& disc) {
  std::string memo;
  for (const std::string& line : MemoLines(disc.memo)) {
    if (!memo.empty()) memo += '\n';
    memo += line;
  }
  std::vector<PropertyLine> lines;
  lines.push_back({Utf8ToGbk("光盘名："), disc.name});
  lines.push_back({Utf8ToGbk("分类："), disc.category});
  lines.push_back({Utf8ToGbk("存档日期："), disc.time});
  lines.push_back({Utf8ToGbk("备注："), memo});
  lines.push_back({Utf8ToGbk("对象："), GroupedDigits(disc.entries) + Utf8ToGbk(" 个")});
  lines.push_back({Utf8ToGbk("总大小："), BytesText(disc.bytes, FormatTotalSize(disc.bytes))});
  return lines;
}

}  // namespace movra
