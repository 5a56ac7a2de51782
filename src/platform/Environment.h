// The process's environment and the folders the system names for a user,
// as UTF-8 and native paths whatever the system holds them in.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace movra {

// An environment variable as UTF-8; nullopt when it is unset or empty.
std::optional<std::string> EnvironmentVariable(const char* name);

// The folder where the system keeps a user's own files of each program
// (%APPDATA% on Windows); nullopt where it names none and the data home
// follows XDG_DATA_HOME and HOME instead.
std::optional<std::filesystem::path> UserAppDataFolder();

}  // namespace movra
