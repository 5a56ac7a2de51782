#include <ctime>

#include "platform/DateTime.h"

namespace movra {

std::optional<std::tm> LocalTimeOf(std::time_t t) {
  std::tm tm{};
  if (!::localtime_r(&t, &tm)) return std::nullopt;
  return tm;
}

}  // namespace movra
