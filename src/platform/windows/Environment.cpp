#include "platform/Environment.h"

#include <cstdlib>

#include "platform/windows/WinText.h"

#include <shlobj.h>

namespace movra {

// Read wide: the narrow environment holds the ANSI code page, where other characters are lost.
std::optional<std::string> EnvironmentVariable(const char* name) {
  const wchar_t* value = ::_wgetenv(WideOf(name).c_str());
  if (value == nullptr || *value == L'\0') return std::nullopt;
  return Utf8Of(value);
}

std::optional<std::filesystem::path> UserAppDataFolder() {
  // APPDATA first, as the user's session sets it; else the shell's answer.
  if (const wchar_t* value = ::_wgetenv(L"APPDATA"); value != nullptr && *value != L'\0') {
    return std::filesystem::path(value);
  }
  wchar_t folder[MAX_PATH];
  if (::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK) return std::nullopt;
  return std::filesystem::path(folder);
}

}  // namespace movra
