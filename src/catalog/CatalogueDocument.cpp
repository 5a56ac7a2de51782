#include "catalog/CatalogueDocument.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "catalog/ElementNames.h"
#include "catalog/XmlEncoding.h"
#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/TextCodec.h"

namespace movra {
namespace {

constexpr std::string_view kGbkDeclaration = "<?xml version=\"1.0\" encoding=\"gb2312\"?>";
constexpr std::string_view kUtf8Declaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
constexpr std::string_view kAll = "\xC8\xAB\xB2\xBF";  // 全部, the whole catalogue

// Whitespace-only text is kept, so that a category's single-space text and
// anything another writer put between elements survive a round trip; comments
// and processing instructions are kept too. The declaration is not: Save
// writes its own.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_comments | pugi::parse_pi;

bool IsText(Element node) { return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata; }

// The element's own text in UTF-8.
std::string OwnTextUtf8(Element element) {
  std::string text;
  for (Element child = element.first_child(); child; child = child.next_sibling())
    if (IsText(child)) text += child.value();
  return text;
}

// Element values hold no control bytes: each becomes a space. A zero byte ends the text.
std::string CleanText(std::string_view text) {
  std::string clean(text.substr(0, text.find('\0')));
  for (char& c : clean)
    if (c >= 0x01 && c <= 0x1F) c = ' ';
  return clean;
}

// The pieces of a path between its backslashes. A 0x5C that is the second
// byte of a double-byte character does not separate.
std::vector<std::string_view> SplitAtBackslashes(std::string_view path) {
  std::vector<std::string_view> pieces;
  size_t start = 0;
  for (size_t i = 0; i < path.size(); ++i) {
    auto c = static_cast<unsigned char>(path[i]);
    if (c >= 0x81 && c <= 0xFE && i + 1 < path.size()) {
      ++i;
    } else if (c == '\\') {
      pieces.push_back(path.substr(start, i - start));
      start = i + 1;
    }
  }
  pieces.push_back(path.substr(start));
  return pieces;
}

std::string_view TrimBlanksAndControls(std::string_view text) {
  auto is_blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string Prefixed(std::string_view prefix, std::string_view name) {
  std::string result(prefix);
  result += name;
  return result;
}

// The first element named utf8_name among the children of parent, their
// children and their grandchildren, each element before its children.
Element FindInThreeLevels(Element parent, const std::string& utf8_name) {
  for (Element a = parent.first_child(); a; a = a.next_sibling()) {
    if (a.type() != pugi::node_element) continue;
    if (utf8_name == a.name()) return a;
    for (Element b = a.first_child(); b; b = b.next_sibling()) {
      if (b.type() != pugi::node_element) continue;
      if (utf8_name == b.name()) return b;
      for (Element c = b.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && utf8_name == c.name()) return c;
    }
  }
  return {};
}

// Collects serializer output.
struct StringWriter : pugi::xml_writer {
  std::string out;
  void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

// Removes text nodes that hold nothing (a character reference to U+0000 reads
// as one): saved, such a node writes "<A></A>", which reads back without it
// and saves as "<A />", so a second save of the same catalogue would differ.
void DropEmptyText(pugi::xml_node root) {
  std::vector<pugi::xml_node> pending{root};
  while (!pending.empty()) {
    pugi::xml_node node = pending.back();
    pending.pop_back();
    for (pugi::xml_node child = node.first_child(); child;) {
      const pugi::xml_node next = child.next_sibling();
      if (child.type() == pugi::node_pcdata && *child.value() == '\0') {
        node.remove_child(child);
      } else if (child.type() == pugi::node_element) {
        pending.push_back(child);
      }
      child = next;
    }
  }
}

}  // namespace

namespace {

std::unique_ptr<FileStamp> StampNow(const std::string& file) {
  std::optional<FileStamp> stamp = StampOfFile(file);
  return stamp ? std::make_unique<FileStamp>(*stamp) : nullptr;
}

}  // namespace

CatalogueDocument::CatalogueDocument() = default;
CatalogueDocument::~CatalogueDocument() = default;

bool CatalogueDocument::Open(const std::string& file_name) {
  file_name_ = file_name;
  document_.reset();
  root_ = Element();
  modified_ = false;
  if (file_name.empty()) return false;

  auto document = std::make_unique<pugi::xml_document>();
  if (Fs().FileExists(file_name)) {
    // The stamp is taken before the bytes are read: a file replaced in
    // between then shows a stamp of its own later and is compared by content.
    std::unique_ptr<FileStamp> stamp = StampNow(file_name);
    std::optional<std::string> bytes = Fs().ReadFile(file_name);
    if (!bytes) return false;
    RememberDisk(*bytes, std::move(stamp));
    std::optional<std::string> utf8 = XmlBytesToUtf8(*bytes);
    if (!utf8) return false;
    if (!document->load_buffer(utf8->data(), utf8->size(), kParseOptions, pugi::encoding_utf8)) return false;
    DropEmptyText(*document);
    root_ = document->document_element();
    if (!root_) return false;
  } else {
    // Something that is not a file stands there: it must not be replaced by a new catalogue.
    if (Fs().DirectoryExists(file_name)) return false;
    disk_stamp_.reset();
    // First start: a catalogue ready for its first category, written with the first change.
    root_ = document->append_child("root");
    root_.append_child("CDLIST");
  }
  document_ = std::move(document);
  return true;
}

SaveResult CatalogueDocument::Save() {
  if (!document_ || file_name_.empty() || !modified_) return SaveResult::kNothingToSave;
  const std::string bytes = Serialize();
  if (!Fs().WriteFileAtomic(file_name_, bytes)) return SaveResult::kFailed;
  RememberDisk(bytes, StampNow(file_name_));
  modified_ = false;
  return SaveResult::kSaved;
}

Element CatalogueDocument::Root() const { return root_; }


void CatalogueDocument::RememberDisk(std::string_view bytes, std::unique_ptr<FileStamp> stamp) {
  disk_stamp_ = std::move(stamp);
  disk_hash_ = std::hash<std::string_view>{}(bytes);
}

bool CatalogueDocument::IsCurrentOnDisk() const {
  std::unique_ptr<FileStamp> now = StampNow(file_name_);
  if (!now || !disk_stamp_) return !now && !disk_stamp_;
  if (*now == *disk_stamp_) return true;
  // Touched or copied over with the same bytes: still the same catalogue.
  const std::optional<std::string> bytes = Fs().ReadFile(file_name_);
  if (!bytes || std::hash<std::string_view>{}(*bytes) != disk_hash_) return false;
  disk_stamp_ = std::move(now);
  return true;
}

std::string CatalogueDocument::Serialize() const {
  if (!document_) return {};
  StringWriter writer;
  document_->save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
  if (std::optional<std::string> gbk = Utf8XmlToGbk(writer.out)) return std::string(kGbkDeclaration) + *gbk;
  return std::string(kUtf8Declaration) + MakeXmlWritable(writer.out, false).value_or(std::string());
}

Element CatalogueDocument::FindChild(Element element, std::string_view name) {
  if (!element) return {};
  const std::string utf8 = GbkToUtf8(name);
  for (Element child = element.first_child(); child; child = child.next_sibling())
    if (child.type() == pugi::node_element && utf8 == child.name()) return child;
  return {};
}

Element CatalogueDocument::GetOrAddChild(Element element, std::string_view name) {
  if (!element) return {};
  if (Element found = FindChild(element, name)) return found;
  // An element name the file could not carry would make the whole catalogue unreadable.
  const std::string utf8 = GbkToUtf8(name);
  if (!IsXmlName(utf8)) return {};
  Element added = element.append_child(pugi::node_element);
  added.set_name(utf8.c_str());
  modified_ = true;
  return added;
}

std::vector<Element> CatalogueDocument::ChildElements(Element element) {
  std::vector<Element> children;
  for (Element child = element.first_child(); child; child = child.next_sibling())
    if (child.type() == pugi::node_element) children.push_back(child);
  return children;
}

std::string CatalogueDocument::ElementName(Element element) { return element ? Utf8ToGbk(element.name()) : ""; }

std::string CatalogueDocument::ElementText(Element element) { return element ? Utf8ToGbk(OwnTextUtf8(element)) : ""; }

void CatalogueDocument::SetElementText(Element element, std::string_view text) {
  if (!element || element.type() != pugi::node_element) return;
  const std::string utf8 = GbkToUtf8(CleanText(text));
  if (OwnTextUtf8(element) == utf8) return;
  for (Element child = element.first_child(); child;) {
    Element next = child.next_sibling();
    if (IsText(child)) element.remove_child(child);
    child = next;
  }
  if (!utf8.empty()) element.prepend_child(pugi::node_pcdata).set_value(utf8.c_str());
  modified_ = true;
}

void CatalogueDocument::SetChildText(Element element, std::string_view child_name, std::string_view value) {
  if (!element) return;
  const std::string clean = CleanText(value);
  if (Element child = FindChild(element, child_name)) {
    if (clean.empty()) {
      element.remove_child(child);
      modified_ = true;
    } else {
      SetElementText(child, clean);
    }
  } else if (!clean.empty()) {
    SetElementText(GetOrAddChild(element, child_name), clean);
  }
}

void CatalogueDocument::DeleteChild(Element element, std::string_view name) {
  if (Element child = FindChild(element, name)) {
    element.remove_child(child);
    modified_ = true;
  }
}

Element CatalogueDocument::CdList() const { return FindChild(root_, "CDLIST"); }

Element CatalogueDocument::ResolvePath(std::string_view path, bool is_disc) {
  if (!root_ || path.empty()) return {};
  std::vector<std::string_view> pieces = SplitAtBackslashes(TrimBlanksAndControls(path));
  while (pieces.size() > 1 && pieces.back().empty()) pieces.pop_back();
  const size_t count = std::min<size_t>(pieces.size(), 3);
  const std::string all = Prefixed(kCategoryPrefix, kAll);
  const std::string e1 = Prefixed(is_disc ? kDiscPrefix : kCategoryPrefix, pieces[pieces.size() - 1]);
  std::optional<std::string> e2, e3;
  if (count >= 2) e2 = Prefixed(kCategoryPrefix, pieces[pieces.size() - 2]);
  if (count == 3) e3 = Prefixed(kCategoryPrefix, pieces[pieces.size() - 3]);

  Element cdlist = CdList();
  if (!cdlist) {
    cdlist = GetOrAddChild(root_, "CDLIST");
    Save();
  }
  if (e1 == all) return cdlist;
  if (e2 == all) e2.reset();
  if (e3 == all) e3.reset();

  if (count == 1) {
    // A disc may sit in a main category or in a sub-category. A category
    // named alone is a main category: a sub-category of the same name
    // elsewhere must not stand in for it.
    return is_disc ? FindInThreeLevels(cdlist, GbkToUtf8(e1)) : FindChild(cdlist, e1);
  }
  Element current = cdlist;
  for (const std::optional<std::string>& name : {e3, e2, std::optional<std::string>(e1)}) {
    if (!name) continue;
    current = FindChild(current, *name);
    if (!current) return {};
  }
  return current;
}

Element CatalogueDocument::FindDiscElement(std::string_view element_name) const {
  Element cdlist = CdList();
  if (!cdlist) return {};
  return FindInThreeLevels(cdlist, GbkToUtf8(element_name));
}

bool CatalogueDocument::RemoveByPath(std::string_view path) {
  if (!root_ || path.empty()) return false;
  std::vector<std::string_view> pieces = SplitAtBackslashes(path);
  std::vector<std::string> names;
  if (pieces.size() == 1) {
    names.push_back(Prefixed(kCategoryPrefix, path));
  } else {
    // Every piece but the last ends at a backslash; the walk stops at the first empty one.
    for (size_t i = 0; i + 1 < pieces.size() && names.size() < 5 && !pieces[i].empty(); ++i)
      names.emplace_back(pieces[i]);
    for (size_t i = 0; i + 1 < names.size(); ++i) names[i] = Prefixed(kCategoryPrefix, names[i]);
  }
  // A path without a usable component names no element; CDLIST itself is never removed.
  if (names.empty()) return false;
  Element current = CdList();
  if (!current) return false;
  for (const std::string& name : names) {
    current = FindChild(current, name);
    if (!current) return false;
  }
  current.parent().remove_child(current);
  modified_ = true;
  return true;
}

bool CatalogueDocument::RenameCategory(std::string_view path, std::string_view new_name) {
  if (!root_ || path.empty() || new_name.empty()) return false;
  std::vector<std::string_view> pieces = SplitAtBackslashes(path);
  std::vector<std::string> names;
  if (pieces.size() == 1) {
    names.emplace_back(path);
  } else {
    for (size_t i = 0; i + 1 < pieces.size() && names.size() < 3; ++i) names.push_back(Prefixed(kCategoryPrefix, pieces[i]));
  }
  Element parent;
  Element old_element = CdList();
  if (!old_element) return false;
  for (const std::string& name : names) {
    parent = old_element;
    old_element = FindChild(parent, name);
    if (!old_element) return false;
  }
  Element new_element = GetOrAddChild(parent, Prefixed(kCategoryPrefix, new_name));
  if (!new_element || new_element == old_element) return false;

  // The renamed category keeps its place; a same-named sibling receives its
  // sub-categories and discs (after its own) and moves to that place.
  for (Element child = old_element.first_child(); child;) {
    Element next = child.next_sibling();
    if (child.type() == pugi::node_element) new_element.append_move(child);
    child = next;
  }
  parent.insert_move_before(new_element, old_element);
  parent.remove_child(old_element);
  modified_ = true;
  return true;
}

}  // namespace movra
