#include "lists/ListWriter.h"

#include <nlohmann/json.hpp>

#include <charconv>

#include "browse/DisplayFormat.h"
#include "lists/ListRows.h"
#include "platform/TextCodec.h"

namespace movra {

namespace lists {

std::string Utf8Of(std::string_view gbk) { return IsAscii(gbk) ? std::string(gbk) : GbkToUtf8(gbk); }

bool RowTexts::Take(const FoundEntry& entry) {
  const bool disc_changed = !have_row_ || entry.disc != disc_gbk_;
  if (disc_changed) {
    disc_gbk_.assign(entry.disc);
    disc_ = Utf8Of(entry.disc);
  }
  folder_changed_ = !have_row_ || entry.folder != folder_gbk_;
  if (folder_changed_) {
    folder_gbk_.assign(entry.folder);
    folder_ = Utf8Of(entry.folder);
  }
  if (IsAscii(entry.name)) {
    name_ = entry.name;
  } else {
    name_storage_ = GbkToUtf8(entry.name);
    name_ = name_storage_;
  }
  if (!have_row_ || entry.modified != time_value_) {
    time_value_ = entry.modified;
    WriteDate(entry.modified, time_);
  }
  have_row_ = true;
  return disc_changed;
}

void AppendNumber(std::string& out, std::int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

void AppendCsvField(std::string& out, std::string_view text, bool always_quote) {
  if (!always_quote && text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (std::size_t at = 0;;) {
    const std::size_t quote = text.find('"', at);
    out.append(text.substr(at, quote - at));
    if (quote == std::string_view::npos) break;
    out += "\"\"";
    at = quote + 1;
  }
  out += '"';
}

namespace {

// disc TAB folder TAB name TAB kind TAB size TAB modified, one line a row.
class TsvWriter : public ListWriter {
 public:
  explicit TsvWriter(ByteSink& sink) : out_(sink) {}
  void Write(const FoundEntry& entry) override {
    texts_.Take(entry);
    std::string& out = out_.bytes();
    out += texts_.disc();
    out += '\t';
    out += texts_.folder();
    out += '\t';
    out += texts_.name();
    out += entry.is_file ? "\tfile\t" : "\tfolder\t";
    AppendNumber(out, entry.size);
    out += '\t';
    out += texts_.time();
    out += '\n';
    out_.Pass();
  }
  bool Finish() override { return out_.Flush(); }

 private:
  Output out_;
  RowTexts texts_;
};

// One JSON object a line with the TSV's fields, keys in order as
// nlohmann::json writes an object; the texts escaped by it, the disc's and
// the folder's once per change.
class JsonWriter : public ListWriter {
 public:
  explicit JsonWriter(ByteSink& sink) : out_(sink) {}
  void Write(const FoundEntry& entry) override {
    if (texts_.Take(entry) || disc_.empty()) disc_ = Quoted(texts_.disc());
    if (texts_.folder_changed() || folder_.empty()) folder_ = Quoted(texts_.folder());
    std::string& out = out_.bytes();
    out += "{\"disc\":";
    out += disc_;
    out += ",\"folder\":";
    out += folder_;
    out += entry.is_file ? ",\"kind\":\"file\",\"modified\":\"" : ",\"kind\":\"folder\",\"modified\":\"";
    out += texts_.time();
    out += "\",\"name\":";
    out += Quoted(texts_.name());
    out += ",\"size\":";
    AppendNumber(out, entry.size);
    out += "}\n";
    out_.Pass();
  }
  bool Finish() override { return out_.Flush(); }

 private:
  static std::string Quoted(std::string_view utf8) {
    return nlohmann::json(utf8).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  }
  Output out_;
  RowTexts texts_;
  std::string disc_, folder_;  // as JSON strings
};

// The TSV's columns as CSV: UTF-8 with a byte-order mark (so spreadsheets
// take it as UTF-8), a header row, CRLF line ends.
class CsvWriter : public ListWriter {
 public:
  explicit CsvWriter(ByteSink& sink) : out_(sink) { out_.bytes() += "\xEF\xBB\xBF" "disc,folder,name,kind,size,modified\r\n"; }
  void Write(const FoundEntry& entry) override {
    texts_.Take(entry);
    std::string& out = out_.bytes();
    AppendCsvField(out, texts_.disc());
    out += ',';
    AppendCsvField(out, texts_.folder());
    out += ',';
    AppendCsvField(out, texts_.name());
    out += entry.is_file ? ",file," : ",folder,";
    AppendNumber(out, entry.size);
    out += ',';
    out += texts_.time();
    out += "\r\n";
    out_.Pass();
  }
  bool Finish() override { return out_.Flush(); }

 private:
  Output out_;
  RowTexts texts_;
};

}  // namespace
}  // namespace lists

std::optional<ListFormat> ParseListFormat(std::string_view name) {
  static constexpr std::pair<std::string_view, ListFormat> kNames[] = {
      {"tsv", ListFormat::kTsv}, {"json", ListFormat::kJson}, {"csv", ListFormat::kCsv},
      {"efu", ListFormat::kEfu}, {"html", ListFormat::kHtml}};
  for (const auto& [text, format] : kNames)
    if (name == text) return format;
  return std::nullopt;
}

bool StreamSink::Write(std::string_view bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size();
}

std::unique_ptr<ListWriter> MakeListWriter(ListFormat format, ByteSink& sink, const ListOptions& options) {
  switch (format) {
    case ListFormat::kTsv: return std::make_unique<lists::TsvWriter>(sink);
    case ListFormat::kJson: return std::make_unique<lists::JsonWriter>(sink);
    case ListFormat::kCsv: return std::make_unique<lists::CsvWriter>(sink);
    case ListFormat::kEfu: return lists::MakeEfuWriter(sink);
    case ListFormat::kHtml: return lists::MakeHtmlWriter(sink, options);
  }
  return nullptr;
}

}  // namespace movra
