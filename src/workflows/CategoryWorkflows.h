// New main and sub-categories and renames, each saved at once; a failed save
// reads the catalogue back from disk, so nothing half-done stays in memory.
#pragma once

#include <string>
#include <string_view>

#include "workflows/Workspace.h"

namespace movra {

// What creating a category did.
struct NewCategoryResult {
  WorkflowResult result;
  std::string name;  // the new category's name (GBK)
};

// Adds a main category under the first free default name 新的主类n.
NewCategoryResult NewMainCategory(Workspace& work);

// Adds a sub-category 新的子类n to the main category the catalogue path names.
NewCategoryResult NewSubCategory(Workspace& work, std::string_view main_category_path);

// Adds the category a path names: "A" (a main category) or "A\B" (a
// sub-category of the existing main category A). The name obeys the name
// rules and is not taken by a sibling.
NewCategoryResult MakeCategory(Workspace& work, std::string_view path);

// The message (GBK) for a category name that breaks the name rules.
std::string InvalidCategoryNameText();

// Renames the category a catalogue path names to new_name (already checked),
// merging with a same-named sibling.
WorkflowResult RenameCategoryTo(Workspace& work, std::string_view path, std::string_view new_name);

}  // namespace movra
