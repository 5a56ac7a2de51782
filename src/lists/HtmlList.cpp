// The web page of a list: the rows as compact script arrays (nodes for
// categories, discs and folders; entries pointing at their folder's node),
// written in pieces as they come, so that a list of a million entries loads
// as data and the page draws only the nodes the reader opens.
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "browse/DisplayFormat.h"
#include "browse/FolderListing.h"
#include "lists/HtmlPage.h"
#include "lists/ListRows.h"
#include "platform/TextCodec.h"

namespace movra::lists {
namespace {

enum NodeKind { kCategoryNode = 0, kDiscNode = 1, kFolderNode = 2 };

// Appends UTF-8 text as a string that is both JSON and safe inside a script
// element: < > & become \u escapes, so no "</script>" or "<!--" can form.
void AppendScriptString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  std::size_t plain = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    const bool line_separator = c == 0xE2 && i + 2 < text.size() && text[i + 1] == '\x80' &&
                                (text[i + 2] == '\xA8' || text[i + 2] == '\xA9');
    if (c >= 0x20 && c != '"' && c != '\\' && c != '<' && c != '>' && c != '&' && !line_separator) continue;
    out.append(text.substr(plain, i - plain));
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (line_separator) {  // U+2028 and U+2029 end a line in older scripts
      out += text[i + 2] == '\xA8' ? "\\u2028" : "\\u2029";
      i += 2;
    } else {
      out += "\\u00";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
    plain = i + 1;
  }
  out.append(text.substr(plain));
  out += '"';
}

// Text for the page's markup (the title).
std::string HtmlText(std::string_view utf8) {
  std::string out;
  for (const char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

class HtmlWriter : public ListWriter {
 public:
  HtmlWriter(ByteSink& sink, const ListOptions& options) : out_(sink), memo_of_(options.memo_of) {
    const std::string title = HtmlText(options.title.empty() ? "文件列表" : Utf8Of(options.title));
    std::string& out = out_.bytes();
    out += kHtmlStart;
    out += title;
    out += kHtmlAfterTitle;
    out += title;
    out += kHtmlAfterHeading;
  }

  void Write(const FoundEntry& entry) override {
    if (texts_.Take(entry)) {
      disc_node_ = DiscNode(entry.disc);
      chain_.clear();
    }
    if (texts_.folder_changed() || chain_.empty()) FolderNode();
    const int parent = chain_.empty() ? disc_node_ : chain_.back().second;
    if (entries_.empty()) {
      entries_ += '[';
    } else {
      entries_ += ",[";
    }
    AppendNumber(entries_, parent);
    entries_ += ',';
    AppendScriptString(entries_, texts_.name());
    entries_ += entry.is_file ? ",0," : ",1,";
    AppendNumber(entries_, entry.size);
    entries_ += ",\"";
    if (entry.size != size_value_ || !size_valid_) {
      size_value_ = entry.size;
      size_valid_ = true;
      size_text_ = FormatSize(entry.size);
    }
    entries_ += size_text_;
    entries_ += "\",\"";
    entries_ += texts_.time();
    entries_ += "\"]";
    if (entries_.size() + nodes_.size() >= kPieceBytes) Piece();
  }

  bool Finish() override {
    Piece();
    out_.bytes() += kHtmlEnd;
    return out_.Flush();
  }

 private:
  static constexpr std::size_t kPieceBytes = std::size_t{1} << 16;

  // Hands the rows held so far to the page as one script element.
  void Piece() {
    if (nodes_.empty() && entries_.empty()) return;
    std::string& out = out_.bytes();
    out += "<script>A([[";
    out += nodes_;
    out += "],[";
    out += entries_;
    out += "]])</script>\n";
    nodes_.clear();
    entries_.clear();
    out_.Pass();
  }

  // The node of name below parent, added when new.
  int Node(int parent, std::string_view name, NodeKind kind, const std::vector<std::string>* memo = nullptr) {
    key_.assign(reinterpret_cast<const char*>(&parent), sizeof parent);
    key_ += static_cast<char>(kind);
    key_ += name;
    const auto [it, added] = ids_.try_emplace(key_, static_cast<int>(ids_.size()));
    if (!added) return it->second;
    nodes_ += nodes_.empty() ? "[" : ",[";
    AppendScriptString(nodes_, name);
    nodes_ += ',';
    AppendNumber(nodes_, parent);
    nodes_ += ',';
    AppendNumber(nodes_, kind);
    if (memo != nullptr) {
      nodes_ += ",[";
      for (std::size_t i = 0; i < memo->size(); ++i) {
        if (i > 0) nodes_ += ',';
        AppendScriptString(nodes_, (*memo)[i]);
      }
      nodes_ += ']';
    }
    nodes_ += ']';
    return it->second;
  }

  // The disc's node below the nodes of its categories ("A\B\Disc").
  int DiscNode(std::string_view disc_gbk) {
    const std::string& disc = texts_.disc();
    int parent = -1;
    std::size_t start = 0;
    for (std::size_t slash; (slash = disc.find('\\', start)) != std::string::npos; start = slash + 1)
      parent = Node(parent, std::string_view(disc).substr(start, slash - start), kCategoryNode);
    std::vector<std::string> memo;
    const std::string stored = memo_of_ ? memo_of_(disc_gbk) : std::string();
    if (!stored.empty())
      for (const std::string& line : MemoLines(stored)) memo.push_back(GbkToUtf8(line));
    return Node(parent, std::string_view(disc).substr(start), kDiscNode, &memo);
  }

  // Brings chain_ to the folder of the row: one node per piece of the folder
  // up to and with its backslash, so that the pieces joined give the folder.
  // The pieces the folder shares with the one before keep their nodes.
  void FolderNode() {
    const std::string& folder = texts_.folder();
    while (!chain_.empty() && (chain_.back().first > folder.size() ||
                               folder.compare(0, chain_.back().first, chain_folder_, 0, chain_.back().first) != 0))
      chain_.pop_back();
    std::size_t start = chain_.empty() ? 0 : chain_.back().first;
    int parent = chain_.empty() ? disc_node_ : chain_.back().second;
    for (std::size_t slash; (slash = folder.find('\\', start)) != std::string::npos; start = slash + 1) {
      parent = Node(parent, std::string_view(folder).substr(start, slash + 1 - start), kFolderNode);
      chain_.emplace_back(slash + 1, parent);
    }
    if (start < folder.size()) {  // a folder text without its last backslash
      parent = Node(parent, std::string_view(folder).substr(start), kFolderNode);
      chain_.emplace_back(folder.size(), parent);
    }
    chain_folder_ = folder;
  }

  Output out_;
  std::function<std::string(std::string_view)> memo_of_;
  RowTexts texts_;
  std::string nodes_, entries_;  // the rows of the next script element
  std::unordered_map<std::string, int> ids_;  // node by parent, kind and name
  std::string key_;
  int disc_node_ = -1;
  std::vector<std::pair<std::size_t, int>> chain_;  // end of each folder piece and its node
  std::string chain_folder_;                        // the folder chain_ was made for
  std::int64_t size_value_ = 0;
  bool size_valid_ = false;
  std::string size_text_;
};

}  // namespace

std::unique_ptr<ListWriter> MakeHtmlWriter(ByteSink& sink, const ListOptions& options) {
  return std::make_unique<HtmlWriter>(sink, options);
}

}  // namespace movra::lists
