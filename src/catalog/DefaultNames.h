// Default names for new categories: a fixed base followed by the smallest
// number that no sibling uses yet.
#pragma once

#include <string>
#include <string_view>

#include "catalog/CatalogueDocument.h"

namespace movra {

// 新的主类 (GBK): the base of a new main category's name.
inline constexpr std::string_view kMainCategoryBase = "\xD0\xC2\xB5\xC4\xD6\xF7\xC0\xE0";
// 新的子类 (GBK): the base of a new sub-category's name.
inline constexpr std::string_view kSubCategoryBase = "\xD0\xC2\xB5\xC4\xD7\xD3\xC0\xE0";

// base + the smallest n >= 0 for which parent has no child element T_ + base + n.
std::string NextDefaultCategoryName(Element parent, std::string_view base);

}  // namespace movra
