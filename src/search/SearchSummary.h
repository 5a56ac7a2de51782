// The status bar's account of a finished search.
#pragma once

#include <cstddef>
#include <string>

#include "search/EntryConditions.h"

namespace movra {

// "找到12个对象（3张光盘）" (GBK): the matching entries and the discs whose
// snapshot was searched; no blanks, like the object count of the content list.
std::string SearchSummaryText(std::size_t matches, std::size_t discs);

// The same, followed by the conditions of the search when it had any:
// "找到3个对象（1张光盘），大小 ≥ 700 MB，只找文件".
std::string SearchSummaryText(std::size_t matches, std::size_t discs, const EntryConditions& conditions);

}  // namespace movra
