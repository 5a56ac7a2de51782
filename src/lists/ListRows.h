// What the list writers share: an output buffer handed to the sink in large
// pieces, and the UTF-8 texts of a row, converted only when they differ from
// the row before (rows of one disc and one folder come one after another).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "lists/ListWriter.h"

namespace movra::lists {

// A writer's bytes on their way to the sink.
class Output {
 public:
  explicit Output(ByteSink& sink) : sink_(sink) { bytes_.reserve(kFlushAt + 4096); }
  // The bytes not handed over yet; append to it, then call Pass.
  std::string& bytes() { return bytes_; }
  // Hands the bytes over once enough of them are held.
  void Pass() {
    if (bytes_.size() >= kFlushAt) Flush();
  }
  // Hands every held byte over; false once any write failed.
  bool Flush() {
    if (ok_ && !bytes_.empty()) ok_ = sink_.Write(bytes_);
    bytes_.clear();
    return ok_;
  }

 private:
  static constexpr std::size_t kFlushAt = std::size_t{1} << 16;
  ByteSink& sink_;
  std::string bytes_;
  bool ok_ = true;
};

// The UTF-8 form of a GBK text (ASCII as it is).
std::string Utf8Of(std::string_view gbk);

// The texts of the current row in UTF-8.
class RowTexts {
 public:
  // Takes the row's texts; true when its disc differs from the row before.
  bool Take(const FoundEntry& entry);
  // The disc, the folder and the name in UTF-8.
  const std::string& disc() const { return disc_; }
  const std::string& folder() const { return folder_; }
  std::string_view name() const { return name_; }
  // True when the folder differs from the row before.
  bool folder_changed() const { return folder_changed_; }
  // The modified time as yyyy-mm-dd hh:mm:ss.
  std::string_view time() const { return {time_, sizeof time_}; }

 private:
  std::string disc_gbk_, disc_;
  std::string folder_gbk_, folder_;
  bool folder_changed_ = false;
  bool have_row_ = false;
  std::string name_storage_;
  std::string_view name_;
  double time_value_ = 0;
  char time_[19] = {};
};

// Appends the decimal digits of value.
void AppendNumber(std::string& out, std::int64_t value);

}  // namespace movra::lists

namespace movra::lists {

// Appends text as one CSV field: in quotes, with its quotes doubled, when it
// holds a comma, a quote, CR or LF, or when always_quote.
void AppendCsvField(std::string& out, std::string_view text, bool always_quote = false);

// The writers of the formats with a file of their own.
std::unique_ptr<ListWriter> MakeEfuWriter(ByteSink& sink);
std::unique_ptr<ListWriter> MakeHtmlWriter(ByteSink& sink, const ListOptions& options);

}  // namespace movra::lists
