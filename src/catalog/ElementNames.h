// How the catalogue names its elements: a category is "T_" + its name, a
// disc "D_" + its name. Names are GBK.
#pragma once

#include <string>
#include <string_view>

namespace movra {

// The prefix of a category's element name.
inline constexpr std::string_view kCategoryPrefix = "T_";
// The prefix of a disc's element name.
inline constexpr std::string_view kDiscPrefix = "D_";

// The element name of the category called name.
inline std::string CategoryElementName(std::string_view name) { return std::string(kCategoryPrefix) + std::string(name); }
// The element name of the disc called name.
inline std::string DiscElementName(std::string_view name) { return std::string(kDiscPrefix) + std::string(name); }
// True when element_name is a category's.
inline bool IsCategoryElement(std::string_view element_name) { return element_name.starts_with(kCategoryPrefix); }
// True when element_name is a disc's.
inline bool IsDiscElement(std::string_view element_name) { return element_name.starts_with(kDiscPrefix); }
// The category's or disc's own name: element_name without its prefix (as it is without one).
inline std::string_view NameOfElement(std::string_view element_name) {
  return IsCategoryElement(element_name) || IsDiscElement(element_name) ? element_name.substr(2) : element_name;
}

}  // namespace movra
