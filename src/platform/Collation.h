// Order of names as the user sees it (trees, folder listings) and the ASCII
// case folding used for matching and sorting of GBK text.
#pragma once

#include <string>
#include <string_view>

namespace movra {

// Compares two GBK texts in zh_CN order: Latin before Chinese, Chinese in
// pinyin order, letters without regard to case first and lower case first on
// ties; equal (0) only when the bytes are identical. Thread-safe.
int LocaleCompare(std::string_view gbk_a, std::string_view gbk_b);

// A byte string whose unsigned bytewise order is LocaleCompare's order; for
// sorting many names, where it saves converting each name at every comparison.
std::string CollationKey(std::string_view gbk);

// Lower-cases ASCII A-Z of single-byte characters; the trail byte of a
// double-byte GBK character (which may be an ASCII letter) is left alone.
std::string LowerAscii(std::string_view gbk);

}  // namespace movra
