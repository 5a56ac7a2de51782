#include "workflows/CatalogueEdit.h"

#include <utility>

#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace movra {

std::string NoLocksWarning() { return Utf8ToGbk("光盘目录所在的位置不支持文件锁，请不要同时用多个程序修改光盘目录！"); }

std::string LockFileOf(const std::string& catalogue_file) { return catalogue_file + ".lock"; }

CatalogueEdit CatalogueEdit::Lock(Workspace& work) {
  CatalogueEdit edit;
  HomeLock* home = work.home;
  if (!home) return edit;
  edit.lock_ = FileLock::Acquire(home->file, home->wait);
  switch (edit.lock_.state()) {
    case LockState::kHeld:
      break;
    case LockState::kBusy:
      edit.result_ = {Outcome::kBusy, Utf8ToGbk("光盘目录正被另一个程序修改，请稍后再试！")};
      break;
    case LockState::kUnsupported:
    case LockState::kFailed:
    case LockState::kNone:
      // Refusing every edit would leave the user unable to work at all.
      if (!home->unsupported_told) {
        home->unsupported_told = true;
        edit.warning_ = NoLocksWarning();
      }
      break;
  }
  return edit;
}

CatalogueEdit CatalogueEdit::Begin(Workspace& work) {
  CatalogueEdit edit = Lock(work);
  if (!edit.ok()) return edit;
  // Without a home's lock there is no other writer to follow.
  if (work.home && !work.catalogue.IsCurrentOnDisk()) {
    const std::string file = work.catalogue.FileName();
    work.catalogue.Open(file);
    edit.reloaded_ = true;
    if (work.home->reloaded) work.home->reloaded();
  }
  edit.result_ = CheckEditable(work);
  return edit;
}

WorkflowResult BackUpCatalogue(Workspace& work, const std::string& catalogue_file, const std::string& backup_file) {
  CatalogueEdit edit = CatalogueEdit::Lock(work);
  // Read before it is copied, so that a file that cannot be read never
  // replaces the last good backup.
  const bool exists = Fs().FileExists(catalogue_file);
  const bool readable = work.catalogue.Open(catalogue_file);
  if (!edit.ok()) return edit.Refusal();
  if (!exists) return edit.Finish({});
  if (!readable) return edit.Finish(CheckEditable(work));
  if (!Fs().CopyFile(catalogue_file, backup_file, false)) {
    return edit.Finish({Outcome::kFailed, Utf8ToGbk("备份 xml 配置文件时产生错误！")});
  }
  return edit.Finish({});
}

WorkflowResult CatalogueEdit::Finish(WorkflowResult result) {
  lock_.Release();
  if (result.warning.empty()) result.warning = std::move(warning_);
  return result;
}

}  // namespace movra
