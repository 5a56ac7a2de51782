#include "snapshot/EntryOrder.h"

#include <algorithm>

namespace movra {
namespace {

// Byte i of name, lower-cased when it is an ASCII letter outside a double-byte character.
unsigned char Folded(unsigned char c, bool trail) {
  return !trail && c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

bool EntryNameLess(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  bool trail_a = false;
  bool trail_b = false;
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char ca = static_cast<unsigned char>(a[i]);
    const unsigned char cb = static_cast<unsigned char>(b[i]);
    const unsigned char fa = Folded(ca, trail_a);
    const unsigned char fb = Folded(cb, trail_b);
    if (fa != fb) return fa < fb;
    trail_a = !trail_a && ca >= 0x81 && ca <= 0xFE;
    trail_b = !trail_b && cb >= 0x81 && cb <= 0xFE;
  }
  return a.size() < b.size();
}

}  // namespace movra
