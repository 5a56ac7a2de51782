#include <cwchar>
#include <iterator>
#include <vector>

#include "platform/MountedVolumes.h"
#include "platform/windows/WinText.h"

namespace movra {

// Drive letters are the system's own: nothing is mounted at a folder.
MountedVolumes::MountedVolumes(const std::string&) {}

std::string MountedVolumes::MountOf(const std::string&) const { return {}; }

std::vector<DriveEntry> MountedVolumes::Volumes(const std::vector<std::string>&) const { return {}; }

DriveMap DetectDrives() {
  // Each letter is rooted at itself ("D:"), so drive paths are the native paths.
  std::vector<DriveEntry> drives;
  wchar_t roots[4 * 26 + 2] = {};
  const DWORD n = ::GetLogicalDriveStringsW(static_cast<DWORD>(std::size(roots) - 1), roots);
  if (n == 0 || n >= std::size(roots)) return DriveMap::OfSystemDrives(std::move(drives));
  for (const wchar_t* root = roots; *root; root += std::wcslen(root) + 1) {
    const UINT type = ::GetDriveTypeW(root);
    if (type == DRIVE_NO_ROOT_DIR || type == DRIVE_UNKNOWN) continue;
    const char letter = static_cast<char>(root[0]);
    const std::string drive = std::string(1, letter) + ":";
    drives.emplace_back(letter, drive, "\\\\.\\" + drive, type == DRIVE_CDROM);
  }
  return DriveMap::OfSystemDrives(std::move(drives));
}

DriveMap DetectDrives(const std::string&, const std::string&) { return DetectDrives(); }

}  // namespace movra
