#include "platform/Collation.h"

namespace movra {

std::string LowerAscii(std::string_view gbk) {
  std::string out(gbk);
  for (size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (c >= 0x81 && c <= 0xFE) {
      ++i;  // skip the trail byte
      continue;
    }
    if (c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace movra
