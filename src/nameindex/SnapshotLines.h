// Reading only some lines of a snapshot file: those that start within given
// byte ranges of its text, as the name index points at them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "nameindex/IndexSegment.h"

namespace movra {

// Reads, for each range [begin, end) of the text (the first text_size bytes)
// of the file at a native path (relative to the open folder folder_fd), the
// whole lines that start within it, into buffer; the pieces in order, or
// nothing when the file is gone, is no longer the file with this stamp, or
// is short.
std::optional<std::vector<std::string_view>> ReadLinesInRanges(
    int folder_fd, const std::string& native_path, const SnapshotStamp& stamp, std::uint64_t text_size,
    const std::vector<std::pair<std::uint64_t, std::uint64_t>>& ranges, std::string& buffer);

}  // namespace movra
