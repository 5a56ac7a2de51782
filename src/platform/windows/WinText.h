// Helpers of the Windows sources: UTF-8 native paths as the wide paths the
// system calls take, and the handles and times the file services share.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <winioctl.h>
// The file system seam's own CopyFile and DeleteFile, not the system's macros.
#undef CopyFile
#undef DeleteFile

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "platform/FileStamp.h"

namespace movra {

// UTF-8 to UTF-16; invalid UTF-8 becomes U+FFFD.
std::wstring WideOf(std::string_view utf8);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
std::string Utf8Of(std::wstring_view wide);

// A native path (UTF-8, either slash) as the system takes it: backslashes, a
// bare drive ("D:") as its root, and the \\?\ form for an absolute path too
// long for the plain calls.
std::wstring WidePath(std::string_view native);

// Seconds since 1970 of a file time (100 ns steps since 1601).
std::time_t TimeTOf(const FILETIME& time);

// Nanoseconds since 1970 of a file time as a 64-bit count.
std::int64_t NanosecondsOf(std::int64_t file_time);

// The stamp of an open file; false when the system cannot tell.
bool StampOfHandle(HANDLE file, FileStamp& stamp);

// An open handle closed when destroyed.
class Handle {
 public:
  // Takes over handle (INVALID_HANDLE_VALUE for none).
  explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~Handle() {
    if (valid()) ::CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  // The handle itself.
  HANDLE get() const { return handle_; }
  // True when a handle is held.
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

 private:
  HANDLE handle_;
};

// Opens the file or folder at a native path for its attributes only (links
// followed, every sharing allowed).
HANDLE OpenForAttributes(const std::string& native_path);

}  // namespace movra
