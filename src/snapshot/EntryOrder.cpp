#include "snapshot/EntryOrder.h"

#include <algorithm>

namespace movra {
namespace {

// An ASCII letter in upper case, as NTFS compares names; any other byte as it is.
inline unsigned char Fold(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 32) : c; }

}  // namespace

bool EntryNameLess(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  bool trail = false;  // the byte at i follows a lead byte (the same in both, as all before it is equal)
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char x = static_cast<unsigned char>(a[i]);
    const unsigned char y = static_cast<unsigned char>(b[i]);
    const unsigned char fx = trail ? x : Fold(x);
    const unsigned char fy = trail ? y : Fold(y);
    if (fx != fy) return fx < fy;
    trail = !trail && x >= 0x81 && x <= 0xFE;
  }
  // Names equal but for case keep a fixed order: by their bytes.
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

}  // namespace movra
