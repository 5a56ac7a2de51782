// Catalogue side of the category commands: new categories under their default
// names, and what an edited category label amounts to. Texts are GBK.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/CatalogueDocument.h"

namespace movra {

// Adds a main category 新的主类n to CDLIST (its text one space), creating
// CDLIST when the document has none; its name, or nullopt without a
// document. Does not save.
std::optional<std::string> AddMainCategory(CatalogueDocument& doc);

// Adds a sub-category 新的子类n to the main category element; its name, or
// nullopt when main_category is none. Does not save.
std::optional<std::string> AddSubCategory(CatalogueDocument& doc, Element main_category);

// The element reached from CDLIST through element names in turn ("T_A",
// "T_B", "D_X"), or none when a step finds nothing or names is empty.
Element FindElementByNames(const CatalogueDocument& doc, const std::vector<std::string>& names);

// The names (without D_) of the discs filed in a category element, directly
// or in its sub-categories, in document order.
std::vector<std::string> DiscNamesIn(Element category);

// What a finished label edit of a category asks for.
struct RenameDecision {
  enum class Kind {
    kKeep,     // nothing to change; the label shows the old name
    kInvalid,  // the name breaks the name rules; the user is told, the label keeps the old name
    kRename,   // rename to name
  };
  Kind kind = Kind::kKeep;
  std::string name;  // the new name (trimmed) for kRename
};

// Judges the text a user entered for a category called old_name: blanks and
// control characters around it are dropped; an empty or unchanged name keeps
// the old one.
RenameDecision DecideRename(std::string_view old_name, std::string_view entered);

}  // namespace movra
