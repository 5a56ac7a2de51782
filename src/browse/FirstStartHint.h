// What the content list shows a new user while the catalogue holds no category.
#pragma once

#include "browse/ListModel.h"

namespace movra {

// Fills model with the first-start hint: a greeting and the two steps that
// begin a catalogue (a main category from the category tree's menu, then a
// disc with 添加). Headings carry textFileIcon, as the disc page's labels do.
void BuildFirstStartHint(int textFileIcon, ListModel& model);

}  // namespace movra
