// The Windows side of the icon provider: the shell's icons (the images of
// its system image list), asked for by extension without touching the disk.
#include "window/platform/IconProvider.h"

#include <string>

#include <wx/icon.h>

#include "platform/TextCodec.h"
#include "window/platform/IconArt.h"

// The system's headers after the toolkit's, through its wrapper, so that their
// macros do not rename the toolkit's members.
#include <wx/msw/wrapwin.h>
#include <shellapi.h>

namespace movra {
namespace {

// The shell's icon of one name: its index in the system image list (the
// key that tells icons apart) and its images at both sizes.
struct ShellIcon {
  int system_index = -1;
  wxBitmap small_bitmap;
  wxBitmap large_bitmap;
  bool ok() const { return system_index >= 0 && small_bitmap.IsOk() && large_bitmap.IsOk(); }
};

// The bitmap of an icon handle, which it takes over, at size x size pixels.
wxBitmap BitmapOfIcon(HICON handle, int size) {
  if (handle == nullptr) return wxBitmap();
  wxIcon icon;
  if (!icon.CreateFromHICON(handle)) {
    ::DestroyIcon(handle);
    return wxBitmap();
  }
  wxBitmap bitmap;
  bitmap.CopyFromIcon(icon);
  return Sized(bitmap, size);
}

// The shell's icon of name; with by_attributes the name is not looked up on
// the disk and attributes alone decide (a file or a folder).
ShellIcon IconOfName(const std::wstring& name, DWORD attributes, bool by_attributes) {
  ShellIcon icon;
  const UINT flags = SHGFI_SYSICONINDEX | SHGFI_ICON | (by_attributes ? SHGFI_USEFILEATTRIBUTES : 0);
  for (const UINT size_flag : {UINT{SHGFI_SMALLICON}, UINT{SHGFI_LARGEICON}}) {
    SHFILEINFOW info{};
    if (::SHGetFileInfoW(name.c_str(), attributes, &info, sizeof info, flags | size_flag) == 0) return ShellIcon();
    icon.system_index = info.iIcon;
    if (size_flag == SHGFI_SMALLICON) {
      icon.small_bitmap = BitmapOfIcon(info.hIcon, kSmallIcon);
    } else {
      icon.large_bitmap = BitmapOfIcon(info.hIcon, kLargeIcon);
    }
  }
  return icon;
}

// The key of a system image list index among the provider's icons.
wxString KeyOf(int system_index) { return wxString::Format("shell:%d", system_index); }

// The Windows folder, whose icon is the closed folder.
std::wstring WindowsFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const UINT length = ::GetWindowsDirectoryW(buffer, MAX_PATH);
  return length == 0 || length > MAX_PATH ? std::wstring() : std::wstring(buffer, length);
}

}  // namespace

IconProvider::IconProvider(const std::string& optical_drive)
    : small_(kSmallIcon, kSmallIcon, true, 64), large_(kLargeIcon, kLargeIcon, true, 64) {
  // The generic file icon also stands for every extension the shell knows nothing of.
  const ShellIcon file = IconOfName(L"file", FILE_ATTRIBUTE_NORMAL, true);
  if (file.ok()) {
    no_extension_ = Add(file.small_bitmap, file.large_bitmap);
    by_icon_.emplace(KeyOf(file.system_index), no_extension_);
  } else {
    no_extension_ = Add(Art(wxART_NORMAL_FILE, kSmallIcon), Art(wxART_NORMAL_FILE, kLargeIcon));
  }
  const std::wstring windows = WindowsFolder();
  ShellIcon folder = windows.empty() ? ShellIcon() : IconOfName(windows, FILE_ATTRIBUTE_DIRECTORY, false);
  if (!folder.ok()) folder = IconOfName(L"folder", FILE_ATTRIBUTE_DIRECTORY, true);
  folder_ = folder.ok() ? Add(folder.small_bitmap, folder.large_bitmap)
                        : Add(Art(wxART_FOLDER, kSmallIcon), Art(wxART_FOLDER, kLargeIcon));
  if (optical_drive.empty()) {
    disc_ = folder_;
    return;
  }
  // The drive's own icon: the one the shell gives its root ("D:\").
  const ShellIcon disc =
      IconOfName(wxString::FromUTF8(optical_drive + "\\").ToStdWstring(), FILE_ATTRIBUTE_DIRECTORY, false);
  disc_ = disc.ok() ? Add(disc.small_bitmap, disc.large_bitmap)
                    : Add(Art(wxART_CDROM, kSmallIcon), Art(wxART_CDROM, kLargeIcon));
}

int IconProvider::LookUp(const std::string& ext) {
  const std::wstring name = L"x." + wxString::FromUTF8(GbkToUtf8(ext)).ToStdWstring();
  const ShellIcon icon = IconOfName(name, FILE_ATTRIBUTE_NORMAL, true);
  if (!icon.ok()) return no_extension_;
  return Shared(KeyOf(icon.system_index), [&](wxBitmap& small_bitmap, wxBitmap& large_bitmap) {
    small_bitmap = icon.small_bitmap;
    large_bitmap = icon.large_bitmap;
    return true;
  });
}

}  // namespace movra
