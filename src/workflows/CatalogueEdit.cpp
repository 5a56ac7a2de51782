#include "workflows/CatalogueEdit.h"

#include "platform/TextCodec.h"

namespace movra {

std::string LockFileOf(const std::string& catalogue_file) { return catalogue_file + ".lock"; }

CatalogueEdit CatalogueEdit::Begin(Workspace& work) {
  CatalogueEdit edit;
  if (HomeLock* home = work.home) {
    edit.lock_ = FileLock::Acquire(home->file, home->wait);
    switch (edit.lock_.state()) {
      case LockState::kHeld:
        break;
      case LockState::kBusy:
        edit.result_ = {Outcome::kBusy, Utf8ToGbk("光盘目录正被另一个程序修改，请稍后再试！")};
        return edit;
      case LockState::kUnsupported:
      case LockState::kFailed:
      case LockState::kNone:
        // Refusing every edit would leave the user unable to work at all.
        if (!home->unsupported_told) {
          home->unsupported_told = true;
          edit.warning_ = Utf8ToGbk("光盘目录所在的位置不支持文件锁，请不要同时用多个程序修改光盘目录！");
        }
        break;
    }
  }
  if (!work.catalogue.IsCurrentOnDisk()) {
    const std::string file = work.catalogue.FileName();
    work.catalogue.Open(file);
    edit.reloaded_ = true;
    if (work.home && work.home->reloaded) work.home->reloaded();
  }
  edit.result_ = CheckEditable(work);
  return edit;
}

}  // namespace movra
