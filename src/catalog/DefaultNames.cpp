#include "catalog/DefaultNames.h"

#include <string>
#include <unordered_set>

#include "catalog/ElementNames.h"

namespace movra {

std::string NextDefaultCategoryName(Element parent, std::string_view base) {
  // Collect the sibling names once, so a parent with many default-named
  // categories costs one pass rather than one pass per number tried.
  std::unordered_set<std::string> taken;
  for (Element child : CatalogueDocument::ChildElements(parent)) taken.insert(CatalogueDocument::ElementName(child));
  const std::string prefix = CategoryElementName(base);
  for (unsigned long n = 0;; ++n) {
    std::string number = std::to_string(n);
    if (!taken.contains(prefix + number)) return std::string(base) + number;
  }
}

}  // namespace movra
