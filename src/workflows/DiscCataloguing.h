// The steps Add disc and Import share once their dialog has been filled in:
// checking the input, scanning a medium and filing a disc in the catalogue.
// Texts are GBK; the data folder and file paths are native.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "catalog/CatalogueDocument.h"
#include "platform/DriveMap.h"
#include "snapshot/ScanSource.h"
#include "snapshot/SnapshotIndex.h"
#include "snapshot/SnapshotName.h"

namespace movra {

// The first check that the input of a dialog fails, in the order the user is told.
enum class DiscInputProblem {
  kNone,         // the input can be used
  kInvalidName,  // the name holds characters outside the name rules
  kIncomplete,   // category, date, name (or the scan path of Add disc) is empty
  kNameTooLong,  // name + ".cdg" is too long for a file name in the data folder
  kNameTaken,    // a disc of that name is catalogued already
};

// What the user entered for a new disc.
struct DiscInput {
  std::string name_text;      // the name field exactly as entered
  std::string date_text;      // the date field, stored as typed
  std::string category_path;  // "A\" or "A\B\"
  std::string memo;           // the memo as stored (lines each followed by "nbsp")
};

// Checks the input; scan_path_text is the scan path field of Add disc and
// nullopt for Import, which has none.
DiscInputProblem CheckDiscInput(CatalogueDocument& doc, const DiscInput& input,
                                std::optional<std::string_view> scan_path_text);

// Files the disc under category as D_ + name with Title, Time and Memo (an
// empty memo stores no Memo); the disc element, or none. Does not save.
Element CatalogueDisc(CatalogueDocument& doc, Element category, const DiscInput& input);

}  // namespace movra
