// Finding a run of bytes in a large text, such as a whole snapshot file,
// optionally taking every ASCII letter byte A-Z as a-z on both sides. That
// folding is coarser than the folding of names (it also folds second bytes
// of double-byte characters), so it serves to find the few places worth a
// closer look: whatever a folded name contains, the text around it holds.
#pragma once

#include <string>
#include <string_view>

namespace movra {

class TextFinder {
 public:
  // Prepares the search for needle; with fold_case every A-Z byte counts as a-z.
  TextFinder(std::string_view needle, bool fold_case);

  // The first position at or after from where the needle occurs, or npos;
  // an empty needle is found at from (when from is within the text).
  size_t Find(std::string_view text, size_t from) const;

 private:
  bool Equals(const char* at) const;

  std::string needle_;  // folded when fold_case
  bool fold_case_;
};

}  // namespace movra
