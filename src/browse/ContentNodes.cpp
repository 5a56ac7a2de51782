#include "browse/ContentNodes.h"

#include "catalog/ElementNames.h"
#include "platform/FileSystem.h"
#include "snapshot/SnapshotName.h"

namespace movra {

ShownNodeKind NodeKindOfImage(int image) {
  switch (image) {
    case 0: return ShownNodeKind::Category;
    case 1: return ShownNodeKind::Disc;
    case 3: return ShownNodeKind::RootFolder;
    case 4: return ShownNodeKind::Folder;
    default: return ShownNodeKind::Other;
  }
}

DiscElementResult FindDiscOfNode(const CatalogueDocument& doc, const DiscNodePlace& place) {
  DiscElementResult result;
  const Element cdList = CatalogueDocument::FindChild(doc.Root(), "CDLIST");
  if (!cdList) return result;
  const std::string elementName = DiscElementName(place.name);

  Element holder;
  if (place.inDiscTree) {
    result.element = doc.FindDiscElement(elementName);
  } else {
    // A disc node lies directly in CDLIST, in a main category or in a sub-category.
    if (place.categories.size() > 2) return result;
    holder = cdList;
    for (const std::string& category : place.categories) {
      holder = CatalogueDocument::FindChild(holder, CategoryElementName(category));
      if (!holder) return result;
    }
    result.element = CatalogueDocument::FindChild(holder, elementName);
  }
  result.outcome = result.element ? DiscLookup::Found : DiscLookup::Missing;
  return result;
}

std::string FolderKey(std::string_view root, const std::vector<std::string>& names) {
  std::string key(root);
  for (const std::string& name : names) {
    key += name;
    key += '\\';
  }
  return key;
}

std::string SnapshotFileOf(std::string_view dataFolder, std::string_view disc) {
  return SnapshotPathOf(dataFolder, disc);
}

}  // namespace movra
