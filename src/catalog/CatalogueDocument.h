// The catalogue document: the one parsed Movra.xml of the run, with the
// element operations and the catalogue-level operations the commands use.
// All names and texts are GBK; the DOM (pugixml) holds UTF-8, converted here.
// An element handle is a pugi::xml_node; a null node stands for "none".
#pragma once

#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace movra {

using Element = pugi::xml_node;

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

  // Releases any previous document and loads file_name (GBK path); a missing
  // file gives a new document holding root and an empty CDLIST (not written
  // yet); an unreadable or unparsable file gives no document. True when a
  // document exists afterwards.
  bool Open(const std::string& file_name);
  // Writes the whole document atomically when there is one with unsaved changes.
  SaveResult Save();
  // The document element, or none.
  Element Root() const;
  // True when the document has changes not yet written.
  bool IsModified() const { return modified_; }
  // The file name given to the last Open.
  const std::string& FileName() const { return file_name_; }
  // The whole document as it would be written (GBK bytes, gb2312 declaration).
  std::string Serialize() const;

  // Element operations; each accepts a null element and then does nothing.

  // The first child node named name (exact bytes).
  static Element FindChild(Element element, std::string_view name);
  // FindChild, or a new last child of that name.
  Element GetOrAddChild(Element element, std::string_view name);
  // The element children in document order.
  static std::vector<Element> ChildElements(Element element);
  // The element's name, or empty.
  static std::string ElementName(Element element);
  // The element's text content, or empty.
  static std::string ElementText(Element element);
  // Sets the whole text content; bytes 0x01-0x1F become spaces.
  void SetElementText(Element element, std::string_view text);
  // Sets, creates or (for an empty value) removes the child's text, cleaned as SetElementText.
  void SetChildText(Element element, std::string_view child_name, std::string_view value);
  // Removes the first child named name.
  void DeleteChild(Element element, std::string_view name);

  // Catalogue-level operations.

  // The element a catalogue path names (category, or disc with is_disc), or none.
  // Creates CDLIST (and saves) when it is missing. 全部 names CDLIST itself.
  Element ResolvePath(std::string_view path, bool is_disc);
  // The first element of that name down to three levels below CDLIST, in pre-order.
  Element FindDiscElement(std::string_view element_name) const;
  // Removes the element the path names (last component with its T_/D_ prefix).
  bool RemoveByPath(std::string_view path);
  // Gives the category the path names the name T_ + new_name, merging with a same-named sibling.
  void RenameCategory(std::string_view path, std::string_view new_name);
  // CDLIST, or none.
  Element CdList() const;
  // Marks the document changed (for callers that edit the DOM directly).
  void MarkModified() { modified_ = true; }

 private:
  std::string file_name_;
  pugi::xml_document* document_ = nullptr;  // owned; null when there is no document
  Element root_;
  bool modified_ = false;
};

}  // namespace movra
