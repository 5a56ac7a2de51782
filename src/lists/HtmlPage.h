// The fixed parts of the web page of a list: its head (styles and the script
// that draws the tree and the filter) and its end.
#pragma once

#include <string_view>

namespace movra::lists {

// From the start of the page to its title text.
extern const std::string_view kHtmlStart;
// From the end of the title to the heading's text.
extern const std::string_view kHtmlAfterTitle;
// From the end of the heading to the first rows: the filter box, the tree's
// place and the script; rows follow as <script>A([[nodes],[entries]])</script>.
extern const std::string_view kHtmlAfterHeading;
// After the last rows: draws the page and closes it.
extern const std::string_view kHtmlEnd;

}  // namespace movra::lists
