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
#include "platform/MappedFile.h"

namespace movra {

// Byte ranges [begin, end) of a snapshot's text.
using TextRanges = std::vector<std::pair<std::uint64_t, std::uint64_t>>;

// Reads, for each range of the text (the first text_size bytes) of the open
// snapshot file, the whole lines that start within it, into buffer; the
// pieces in order, or nothing when file is no longer the one with this
// stamp or is short.
std::optional<std::vector<std::string_view>> ReadLinesInRanges(const ReadOnlyFile& file, const SnapshotStamp& stamp,
                                                               std::uint64_t text_size, const TextRanges& ranges,
                                                               std::string& buffer);

// Asks for the bytes that ReadLinesInRanges will read to be read in the
// background, so that the reads of many files overlap on a cold disk.
void PrefetchRanges(const ReadOnlyFile& file, const TextRanges& ranges);

}  // namespace movra
