#include "search/SearchSummary.h"

#include "platform/TextCodec.h"

namespace movra {

std::string SearchSummaryText(std::size_t matches, std::size_t discs) {
  return Utf8ToGbk("找到" + std::to_string(matches) + "个对象（" + std::to_string(discs) + "张光盘）");
}

std::string SearchSummaryText(std::size_t matches, std::size_t discs, const EntryConditions& conditions) {
  return SearchSummaryText(matches, discs) + ConditionsText(conditions);
}

}  // namespace movra
