// The status bar's account of a finished search.
#pragma once

#include <cstddef>
#include <string>

namespace movra {

// "找到12个对象（3张光盘）" (GBK): the matching entries and the discs whose
// snapshot was searched; no blanks, like the object count of the content list.
std::string SearchSummaryText(std::size_t matches, std::size_t discs);

}  // namespace movra
