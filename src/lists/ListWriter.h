// Lists of found entries written one row at a time in the formats users take
// elsewhere: tab-separated lines, JSON lines, CSV, a file list (EFU) and a
// self-contained web page. Rows stream through a writer into a byte sink, so
// a list of millions of entries needs no more memory than a few rows.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "search/FoundEntry.h"

namespace movra {

// The formats of a list.
enum class ListFormat {
  kTsv,   // disc TAB folder TAB name TAB kind TAB size TAB modified, LF
  kJson,  // one JSON object per line with the same fields
  kCsv,   // the same columns as CSV with a header row: UTF-8 with BOM, CRLF
  kEfu,   // a file list: Filename,Size,Date Modified,Date Created,Attributes
  kHtml,  // one web page: a tree of categories, discs and folders with a filter
};

// The format a name ("tsv", "json", "csv", "efu", "html") stands for; nullopt for any other.
std::optional<ListFormat> ParseListFormat(std::string_view name);

// Where the bytes of a list go.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Takes the next bytes; false when they could not be written.
  virtual bool Write(std::string_view bytes) = 0;
};

// A sink writing to a C stream (stdout, for instance).
class StreamSink : public ByteSink {
 public:
  explicit StreamSink(std::FILE* stream) : stream_(stream) {}
  bool Write(std::string_view bytes) override;

 private:
  std::FILE* stream_;
};

// What some formats show beside the rows.
struct ListOptions {
  std::string title;  // the web page's title (GBK); empty: 文件列表
  // The memo of a disc, by the disc text of its rows, as the catalogue
  // stores it (lines each followed by "nbsp"); may be empty.
  std::function<std::string(std::string_view disc)> memo_of;
};

// Writes the rows of one list.
class ListWriter {
 public:
  virtual ~ListWriter() = default;
  // Adds one row. The entry's texts need to live only during the call.
  virtual void Write(const FoundEntry& entry) = 0;
  // Writes what is still held and the end of the list; false when any write
  // to the sink failed. Nothing may be written after it.
  virtual bool Finish() = 0;
};

// A writer of format into sink, which must outlive it; the writer starts the list.
std::unique_ptr<ListWriter> MakeListWriter(ListFormat format, ByteSink& sink, const ListOptions& options = {});

}  // namespace movra
