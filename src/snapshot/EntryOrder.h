// The order of names within one folder of a snapshot, as NTFS and CD file
// systems return them: ascending, ASCII letters compared in upper case (so
// "_" follows the letters, as on NTFS), every other byte by value. Names are GBK: a trail byte is never
// folded, so a Chinese name keeps its place.
#pragma once

#include <string_view>

namespace movra {

// True when name a comes before name b.
bool EntryNameLess(std::string_view a, std::string_view b);

}  // namespace movra
