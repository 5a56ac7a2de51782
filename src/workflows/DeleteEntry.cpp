#include "workflows/DeleteEntry.h"

#include "catalog/CategoryEdits.h"
#include "catalog/ElementNames.h"
#include "workflows/CatalogueEdit.h"
#include "platform/DataHome.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace movra {

std::string DeleteQuestion(const Workspace& work, const std::vector<std::string>& element_names) {
  const bool is_disc = !element_names.empty() && IsDiscElement(element_names.back());
  std::string question = Utf8ToGbk(is_disc ? "确实要删除选择的光盘？" : "确实要删除选择的分类？");
  const Element element = FindElementByNames(work.catalogue, element_names);
  if (!element) return question;
  const std::vector<std::string> discs =
      is_disc ? std::vector<std::string>{element_names.back().substr(2)} : DiscNamesIn(element);
  std::size_t snapshots = 0;
  for (const std::string& disc : discs) snapshots += Fs().FileExists(FsPathOf(SnapshotFileOf(work, disc))) ? 1 : 0;
  if (!is_disc) {
    question += Utf8ToGbk("\n其中的 ") + std::to_string(discs.size()) + Utf8ToGbk(" 张光盘和 ") +
                std::to_string(snapshots) + Utf8ToGbk(" 个快照文件将一起删除。");
  } else if (snapshots > 0) {
    question += Utf8ToGbk("\n它的快照文件将一起删除。");
  }
  return question;
}

DeleteResult DeleteEntry(Workspace& work, const std::vector<std::string>& element_names) {
  DeleteResult deleted;
  CatalogueEdit edit = CatalogueEdit::Begin(work);
  if (!edit.ok()) {
    deleted.result = edit.Refusal();
    return deleted;
  }
  const Element element = FindElementByNames(work.catalogue, element_names);
  if (!element) {
    deleted.result = edit.Finish({Outcome::kNotFound, Utf8ToGbk("无法在目录中找到选择的节点！")});
    return deleted;
  }
  const std::string name = element_names.back();
  // The discs whose snapshot files go are taken from the catalogue, so that
  // none the trees do not show is forgotten.
  deleted.discs = IsDiscElement(name) ? std::vector<std::string>{std::string(NameOfElement(name))} : DiscNamesIn(element);
  work.catalogue.DeleteChild(element.parent(), name);
  if (WorkflowResult saved = SaveOrRestore(work); !saved.ok()) {
    deleted.result = edit.Finish(saved);
    return deleted;
  }
  // Still under the lock: a disc of the same name filed meanwhile keeps its snapshot.
  for (const std::string& disc : deleted.discs) Fs().DeleteFile(FsPathOf(SnapshotFileOf(work, disc)));
  deleted.result = edit.Finish({});
  if (work.observer)
    for (const std::string& disc : deleted.discs) work.observer->SnapshotRemoved(disc);
  return deleted;
}

}  // namespace movra
