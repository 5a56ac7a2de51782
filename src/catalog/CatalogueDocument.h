// The catalogue document: the one parsed Movra.xml of the run, with the
// element operations and the catalogue-level operations the commands use.
// All names and texts are GBK; the DOM (pugixml) holds UTF-8, converted here.
// An element handle is a pugi::xml_node; a null node stands for "none".
#pragma once

#include <cstdint>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace movra {

using Element = pugi::xml_node;
struct FileStamp;

// What Save did.
enum class SaveResult {
  kNothingToSave,  // no document, no file name, or no change since the last write
  kSaved,          // the whole document was written (atomically)
  kFailed,         // the write failed; the file is as it was, the change stays in memory
};

class CatalogueDocument {
 public:
  CatalogueDocument();
  ~CatalogueDocument();
  CatalogueDocument(const CatalogueDocument&) = delete;
  CatalogueDocument& operator=(const CatalogueDocument&) = delete;

  // Whole-document operations.

  // Releases any previous document (unsaved changes included) and loads
  // file_name (GBK path); a missing file gives a new document holding root and
  // an empty CDLIST (not written yet); an empty name, an unreadable or
  // unparsable file gives no document. True when a document exists afterwards.
  bool Open(const std::string& file_name);
  // Writes the whole document atomically when there is one with unsaved changes.
  // A failed write leaves the file as it was and keeps the changes for the next Save.
  SaveResult Save();
  // The document element, or none.
  Element Root() const;
  // True when the document has changes not yet written.
  bool IsModified() const { return modified_; }
  // The file name given to the last Open.
  const std::string& FileName() const { return file_name_; }
  // The whole document as it would be written (GBK bytes, gb2312 declaration);
  // empty without a document. A character GBK cannot hold (possible in a file
  // read as UTF-8 or GB18030) is written as a character reference in text; in
  // a name, a comment or a CDATA section it makes the whole document fall back
  // to UTF-8 with a utf-8 declaration, so nothing is lost.
  std::string Serialize() const;
  // True while the file on disk is the version this document last read or
  // wrote (or, for a new document, while there is still no file); false once
  // another program has replaced, changed or removed it.
  bool IsCurrentOnDisk() const;

  // Element operations; each accepts a null element and then does nothing.

  // The first child element named name (exact bytes).
  static Element FindChild(Element element, std::string_view name);
  // FindChild, or a new last child of that name; none when name is not a valid XML name.
  Element GetOrAddChild(Element element, std::string_view name);
  // The element children in document order.
  static std::vector<Element> ChildElements(Element element);
  // The element's name, or empty.
  static std::string ElementName(Element element);
  // The element's own text (its text and CDATA children joined), or empty.
  static std::string ElementText(Element element);
  // Replaces the element's text (its element children stay); bytes 0x01-0x1F
  // become spaces and a zero byte ends the text.
  void SetElementText(Element element, std::string_view text);
  // Sets, creates or (for an empty value) removes the child's text, cleaned as SetElementText.
  void SetChildText(Element element, std::string_view child_name, std::string_view value);
  // Removes the first child element named name.
  void DeleteChild(Element element, std::string_view name);

  // Catalogue-level operations.

  // The element a catalogue path names (category, or disc with is_disc), or none.
  // Creates CDLIST (and saves) when it is missing. 全部 names CDLIST itself; a
  // one-component category path names a main category, a disc name is searched
  // three levels deep in document order; longer paths use their last three components.
  Element ResolvePath(std::string_view path, bool is_disc);
  // The first element of that name down to three levels below CDLIST, in pre-order.
  Element FindDiscElement(std::string_view element_name) const;
  // Removes the element the path names (last component with its T_/D_ prefix); never CDLIST itself.
  bool RemoveByPath(std::string_view path);
  // Gives the category the path names the name T_ + new_name at its old position,
  // merging with a same-named sibling. True when the document changed.
  bool RenameCategory(std::string_view path, std::string_view new_name);
  // CDLIST, or none.
  Element CdList() const;
  // Marks the document changed (for callers that edit the DOM directly).
  void MarkModified() { modified_ = true; }

 private:
  std::string file_name_;
  std::unique_ptr<pugi::xml_document> document_;  // null when there is no document
  Element root_;
  bool modified_ = false;
  // The file as last read or written: its stamp (null when there was no
  // file) and a hash of its bytes, which decides when only the stamp moved.
  mutable std::unique_ptr<FileStamp> disk_stamp_;
  std::uint64_t disk_hash_ = 0;
  // Records the file's stamp (taken before its bytes were read) and the hash of bytes, its content.
  void RememberDisk(std::string_view bytes, std::unique_ptr<FileStamp> stamp);
};

}  // namespace movra
