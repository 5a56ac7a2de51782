#include "platform/TrayEject.h"

#include "platform/windows/WinText.h"

namespace movra {

bool EjectNow(const std::string& device, const std::string&) {
  // device is the volume ("\\.\D:"): locked and dismounted when nothing
  // holds it open (failures there do not stop the eject), then ejected.
  const Handle volume(::CreateFileW(WideOf(device).c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!volume.valid()) return false;
  DWORD bytes = 0;
  ::DeviceIoControl(volume.get(), FSCTL_LOCK_VOLUME, nullptr, 0, nullptr, 0, &bytes, nullptr);
  ::DeviceIoControl(volume.get(), FSCTL_DISMOUNT_VOLUME, nullptr, 0, nullptr, 0, &bytes, nullptr);
  return ::DeviceIoControl(volume.get(), IOCTL_STORAGE_EJECT_MEDIA, nullptr, 0, nullptr, 0, &bytes, nullptr) != 0;
}

void CloseTray(const std::string& device) {
  const Handle volume(::CreateFileW(WideOf(device).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, 0, nullptr));
  if (!volume.valid()) return;
  // The result is of no use to the caller: a tray that does not move is not an error.
  DWORD bytes = 0;
  ::DeviceIoControl(volume.get(), IOCTL_STORAGE_LOAD_MEDIA, nullptr, 0, nullptr, 0, &bytes, nullptr);
}

}  // namespace movra
