#include "catalog/CategoryEdits.h"

#include "catalog/DefaultNames.h"
#include "catalog/ElementNames.h"
#include "catalog/NameRules.h"

namespace movra {
namespace {

// A new category element below parent with the text every category carries.
std::optional<std::string> AddCategory(CatalogueDocument& doc, Element parent, std::string_view base) {
  if (!parent) return std::nullopt;
  std::string name = NextDefaultCategoryName(parent, base);
  Element element = doc.GetOrAddChild(parent, CategoryElementName(name));
  if (!element) return std::nullopt;
  doc.SetElementText(element, " ");
  return name;
}

std::string_view TrimBlanksAndControls(std::string_view text) {
  auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<std::string> AddMainCategory(CatalogueDocument& doc) {
  // A catalogue file that holds only its document element gets its CDLIST
  // here; without a first main category no disc could ever be added.
  Element cdlist = doc.CdList();
  if (!cdlist) cdlist = doc.GetOrAddChild(doc.Root(), "CDLIST");
  return AddCategory(doc, cdlist, kMainCategoryBase);
}

std::optional<std::string> AddSubCategory(CatalogueDocument& doc, Element main_category) {
  return AddCategory(doc, main_category, kSubCategoryBase);
}

Element FindElementByNames(const CatalogueDocument& doc, const std::vector<std::string>& names) {
  if (names.empty()) return {};
  Element current = doc.CdList();
  for (const std::string& name : names) current = CatalogueDocument::FindChild(current, name);
  return current;
}

std::vector<std::string> DiscNamesIn(Element category) {
  std::vector<std::string> discs;
  for (Element child : CatalogueDocument::ChildElements(category)) {
    const std::string name = CatalogueDocument::ElementName(child);
    if (IsDiscElement(name)) discs.emplace_back(NameOfElement(name));
    if (!IsCategoryElement(name)) continue;
    for (Element inner : CatalogueDocument::ChildElements(child)) {
      const std::string inner_name = CatalogueDocument::ElementName(inner);
      if (IsDiscElement(inner_name)) discs.emplace_back(NameOfElement(inner_name));
    }
  }
  return discs;
}

RenameDecision DecideRename(std::string_view old_name, std::string_view entered) {
  if (entered == old_name) return {};
  const std::string_view trimmed = TrimBlanksAndControls(entered);
  if (CleanName(trimmed) != trimmed) return {RenameDecision::Kind::kInvalid, {}};
  if (trimmed.empty() || trimmed == old_name) return {};
  return {RenameDecision::Kind::kRename, std::string(trimmed)};
}

}  // namespace movra
