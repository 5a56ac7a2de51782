#include "workflows/DeleteEntry.h"

#include "catalog/CategoryEdits.h"
#include "platform/DataHome.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace movra {

DeleteResult DeleteEntry(Workspace& work, const std::vector<std::string>& element_names) {
  DeleteResult deleted;
  if (deleted.result = CheckEditable(work); !deleted.result.ok()) return deleted;
  const Element element = FindElementByNames(work.catalogue, element_names);
  if (!element) {
    deleted.result = {Outcome::kNotFound, Utf8ToGbk("无法在目录中找到选择的节点！")};
    return deleted;
  }
  const std::string name = element_names.back();
  // The discs whose snapshot files go are taken from the catalogue, so that
  // none the trees do not show is forgotten.
  deleted.discs = name.starts_with("D_") ? std::vector<std::string>{name.substr(2)} : DiscNamesIn(element);
  work.catalogue.DeleteChild(element.parent(), name);
  if (deleted.result = SaveOrRestore(work); !deleted.result.ok()) return deleted;

  for (const std::string& disc : deleted.discs) {
    Fs().DeleteFile(FsPathOf(SnapshotFileOf(work, disc)));
    if (work.observer) work.observer->SnapshotRemoved(disc);
  }
  return deleted;
}

}  // namespace movra
