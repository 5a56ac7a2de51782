#include "workflows/CategoryWorkflows.h"

#include <optional>

#include "catalog/CategoryEdits.h"
#include "catalog/ElementNames.h"
#include "catalog/NameRules.h"
#include "platform/TextCodec.h"
#include "workflows/CatalogueEdit.h"

namespace movra {
namespace {

NewCategoryResult Saved(Workspace& work, CatalogueEdit& edit, std::optional<std::string> name) {
  if (!name) return {edit.Finish({Outcome::kNotFound, Utf8ToGbk("无法在目录中找到选择的节点！")}), {}};
  return {edit.Finish(SaveOrRestore(work)), *name};
}

}  // namespace

NewCategoryResult NewMainCategory(Workspace& work) {
  CatalogueEdit edit = CatalogueEdit::Begin(work);
  if (!edit.ok()) return {edit.Refusal(), {}};
  return Saved(work, edit, AddMainCategory(work.catalogue));
}

NewCategoryResult NewSubCategory(Workspace& work, std::string_view main_category_path) {
  CatalogueEdit edit = CatalogueEdit::Begin(work);
  if (!edit.ok()) return {edit.Refusal(), {}};
  const Element main_category = work.catalogue.ResolvePath(main_category_path, false);
  return Saved(work, edit, AddSubCategory(work.catalogue, main_category));
}

std::string InvalidCategoryNameText() {
  return Utf8ToGbk("节点名称不符合命名规则\n请参考使用帮助中“光盘分类命名规则”！");
}

NewCategoryResult MakeCategory(Workspace& work, std::string_view path) {
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  const std::size_t slash = path.find('\\');
  const std::string_view main_name = path.substr(0, slash);
  const std::string_view sub_name = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
  const std::string_view name = slash == std::string_view::npos ? main_name : sub_name;
  CatalogueEdit edit = CatalogueEdit::Begin(work);
  if (!edit.ok()) return {edit.Refusal(), {}};
  if (name.empty() || main_name.empty() || CleanName(name) != name || CleanName(main_name) != main_name) {
    return {edit.Finish({Outcome::kRefused, InvalidCategoryNameText()}), {}};
  }
  Element parent = work.catalogue.CdList();
  if (!parent) parent = work.catalogue.GetOrAddChild(work.catalogue.Root(), "CDLIST");
  if (slash != std::string_view::npos) parent = CatalogueDocument::FindChild(parent, CategoryElementName(main_name));
  if (!parent) return {edit.Finish({Outcome::kNotFound, Utf8ToGbk("无法在目录中找到选择的节点！")}), {}};
  const std::string element_name = CategoryElementName(name);
  if (CatalogueDocument::FindChild(parent, element_name)) {
    return {edit.Finish({Outcome::kRefused, Utf8ToGbk("分类名称已存在！")}), {}};
  }
  work.catalogue.SetElementText(work.catalogue.GetOrAddChild(parent, element_name), " ");
  return {edit.Finish(SaveOrRestore(work)), std::string(name)};
}

WorkflowResult RenameCategoryTo(Workspace& work, std::string_view path, std::string_view new_name) {
  CatalogueEdit edit = CatalogueEdit::Begin(work);
  if (!edit.ok()) return edit.Refusal();
  if (!work.catalogue.RenameCategory(path, new_name)) {
    return edit.Finish({Outcome::kNotFound, Utf8ToGbk("无法在目录中找到选择的节点！")});
  }
  return edit.Finish(SaveOrRestore(work));
}

}  // namespace movra
