#include "platform/FileStamp.h"

#include "platform/windows/WinText.h"

namespace movra {

std::optional<FileStamp> StampOfFile(const std::string& native_path) {
  const Handle file(OpenForAttributes(native_path));
  FILE_ATTRIBUTE_TAG_INFO tag;
  if (!file.valid() || !::GetFileInformationByHandleEx(file.get(), FileAttributeTagInfo, &tag, sizeof tag) ||
      (tag.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return std::nullopt;
  FileStamp stamp;
  if (!StampOfHandle(file.get(), stamp)) return std::nullopt;
  return stamp;
}

}  // namespace movra
