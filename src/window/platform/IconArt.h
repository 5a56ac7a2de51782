// Images the icon provider of each system shares: bitmaps brought to the
// exact size of a list, and the toolkit's own art as the fallback.
#pragma once

#include <wx/artprov.h>
#include <wx/bitmap.h>

namespace movra {

// Side of the small images.
inline constexpr int kSmallIcon = 16;
// Side of the large images.
inline constexpr int kLargeIcon = 32;

// A bitmap of exactly size x size pixels, scaled when the source differs.
wxBitmap Sized(const wxBitmap& bitmap, int size);

// The toolkit's art for id at size x size pixels.
wxBitmap Art(const wxArtID& id, int size);

}  // namespace movra
