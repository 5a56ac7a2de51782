// The values the Add-disc and Import dialogs propose and hand to their
// workflows: the default disc name, the memo template, the memo's stored form
// and the scan path. Texts are GBK.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace movra {

// The name proposed for a volume without a label: 我的光盘_000.
inline constexpr std::string_view kDefaultDiscName = "\xCE\xD2\xB5\xC4\xB9\xE2\xC5\xCC_000";

// The name of the whole catalogue in the find dialog's tree: 全部.
inline constexpr std::string_view kAllCategoriesName = "\xC8\xAB\xB2\xBF";

// The four memo lines proposed for a new disc: number, place, the volume
// serial as a signed 32-bit number (nothing after the colon when there is
// none) and the label line with label_line_text.
std::vector<std::string> ProposedMemoLines(std::optional<std::uint32_t> serial,
                                           std::string_view label_line_text);

// The memo as the catalogue stores it: every line followed by "nbsp".
std::string JoinMemoLines(const std::vector<std::string>& lines);

// The lines of a multi-line text. A line feed ends a line (a carriage return
// before it is dropped); a final line feed does not start an empty line, and
// an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// The lines joined by line feeds, as a multi-line field shows them.
std::string JoinLines(const std::vector<std::string>& lines);

// The drive of a path: the text up to and including its first colon; empty without one.
std::string_view DriveTextOf(std::string_view path);

// The path with one backslash appended unless it already ends with one; empty stays empty.
std::string WithTrailingBackslash(std::string_view path);

}  // namespace movra
