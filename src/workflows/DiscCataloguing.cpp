#include "workflows/DiscCataloguing.h"

#include "catalog/ElementNames.h"
#include "catalog/NameRules.h"
#include "workflows/DiscEntry.h"
#include "platform/TextCodec.h"
#include "platform/FileSystem.h"
#include "snapshot/SnapshotName.h"

namespace movra {

DiscInputProblem CheckDiscInput(CatalogueDocument& doc, const DiscInput& input,
                                std::optional<std::string_view> scan_path_text) {
  const std::string name = CleanName(input.name_text);
  if (name != input.name_text) return DiscInputProblem::kInvalidName;
  if (input.category_path.empty() || input.date_text.empty() || name.empty() ||
      (scan_path_text && scan_path_text->empty())) {
    return DiscInputProblem::kIncomplete;
  }
  // The snapshot file is named after the disc.
  if (!NativeNameFits(GbkToUtf8(SnapshotFileName(name)))) return DiscInputProblem::kNameTooLong;
  if (doc.ResolvePath(name, true)) return DiscInputProblem::kNameTaken;
  return DiscInputProblem::kNone;
}

Element CatalogueDisc(CatalogueDocument& doc, Element category, const DiscInput& input) {
  const std::string name = CleanName(input.name_text);
  Element disc = doc.GetOrAddChild(category, DiscElementName(name));
  if (!disc) return disc;
  doc.SetChildText(disc, "Title", name);
  doc.SetChildText(disc, "Time", input.date_text);
  doc.SetChildText(disc, "Memo", input.memo);
  return disc;
}

}  // namespace movra
