// Taking one snapshot file line apart. Shared by the snapshot reader and the
// search. The markers (backslash, '[', ']', '|') are found GBK-aware: a byte
// that is the second byte of a double-byte character (one following a lead
// byte 0x81-0xFE, counted from the start of the line) is never a marker.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/DateTime.h"

namespace movra {

// True when the byte at pos of the line is the second byte of a
// double-byte character, counted from the start of the line. Lead and
// trail bytes share the range 0x81-0xFE, so this walks back over the run of
// such bytes before pos: the byte before that run ends a character, the run
// pairs up as lead, trail, lead, trail..., and pos is a trail byte exactly
// when the run is odd. The same answer as a scan from the line's start,
// without reading the whole line.
inline bool IsTrailByte(std::string_view line, size_t pos) {
  size_t run = 0;
  while (run < pos && static_cast<unsigned char>(line[pos - 1 - run]) >= 0x81 &&
         static_cast<unsigned char>(line[pos - 1 - run]) <= 0xFE)
    ++run;
  return run % 2 == 1;
}

// True when the line describes a file (it has no vertical bar).
bool LineIsFile(std::string_view line);
// The key: the line up to and including its last backslash; empty without one.
std::string_view LineFolder(std::string_view line);
// The entry's name: after the last bar (or backslash), before the last '['.
std::string_view LineName(std::string_view line);
// The size between the last '[' and the last ']', read as atol reads (64-bit).
std::int64_t LineSize(std::string_view line);
// The date-time after the last ']'; throws ConversionError when it is none.
DateTime LineTime(std::string_view line);

// A file's size as recorded: older files hold sizes as signed 32-bit values,
// so a negative one down to -2^31 is a file of 2 GiB or more that wrapped.
std::int64_t RestoreWrappedSize(std::int64_t size);

// The marker positions of one line, found in a single pass.
struct LineMarkers {
  static constexpr size_t npos = std::string_view::npos;
  size_t last_backslash = npos;
  size_t last_bar = npos;
  size_t last_open = npos;   // last '['
  size_t last_close = npos;  // last ']'
};

// Finds the four markers of a line, GBK-aware.
LineMarkers FindMarkers(std::string_view line);

// The same fields from markers found once with FindMarkers, for callers that
// take several fields of one line.

// True when the markers show no vertical bar.
inline bool LineIsFile(const LineMarkers& m) { return m.last_bar == LineMarkers::npos; }
// LineFolder from the line's markers.
std::string_view LineFolder(std::string_view line, const LineMarkers& m);
// LineName from the line's markers.
std::string_view LineName(std::string_view line, const LineMarkers& m);
// LineSize from the line's markers.
std::int64_t LineSize(std::string_view line, const LineMarkers& m);
// The size of a file line with wrapped sizes restored; 0 for a folder line.
std::int64_t EntrySize(std::string_view line, const LineMarkers& m);
// LineTime from the line's markers; throws ConversionError when it is none.
DateTime LineTime(std::string_view line, const LineMarkers& m);

}  // namespace movra
