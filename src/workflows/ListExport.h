// Lists of search results as files: the page's title and the discs' memos
// taken from the request and the catalogue, and the file that receives a
// list only once it is complete. Texts are GBK; paths of lists are native.
#pragma once

#include <memory>
#include <optional>
#include <vector>
#include <string>
#include <string_view>

#include "catalog/CatalogueDocument.h"
#include "lists/ListWriter.h"
#include "platform/FileSystem.h"
#include "workflows/Search.h"
#include "workflows/Workspace.h"

namespace movra {

// The options of a list of the request's results whose rows name each disc
// by its catalogue path ("电影\动作\DVD_01"): the title 查找结果：TEXT and the
// memos of the catalogue's discs.
ListOptions SearchListOptions(const CatalogueDocument& catalogue, const SearchRequest& request);

// A list on its way into a file: written to a temporary file beside it and
// put in its place by Commit, so that a list that fails or is stopped leaves
// the file as it was.
class ListFile : public ByteSink {
 public:
  // The file at a native path made ready for a list; kFailed with the
  // message to show (and no file) when it cannot be written.
  static std::pair<std::unique_ptr<ListFile>, WorkflowResult> Open(const std::string& native_path);

  bool Write(std::string_view bytes) override;
  // Puts the complete list in the file's place; kFailed with the message to
  // show when it could not be written (the file is then as it was).
  WorkflowResult Commit();

 private:
  ListFile(std::string path, std::unique_ptr<AtomicFile> file) : path_(std::move(path)), file_(std::move(file)) {}
  std::string path_;
  std::unique_ptr<AtomicFile> file_;
};

// What the user is told when a list cannot be written to a native path.
std::string ListNotWrittenMessage(std::string_view native_path);

// The format a file name's extension stands for (.csv, .htm or .html, .efu,
// .tsv or .txt, .json, in either case); nullopt for any other.
std::optional<ListFormat> ListFormatOfPath(std::string_view path);

// What writing a list file did.
struct ListExportOutcome {
  WorkflowResult result;  // kDone; kCancelled or kFailed (with the message), the file then as it was
  std::size_t rows = 0;   // entries written
};

// Searches discs for the request and writes every entry found to writer,
// each disc named by its whole catalogue path whatever the location;
// after_disc (when set) is told of each disc and may stop the search.
SearchOutcome WriteSearchList(CatalogueDocument& catalogue, const std::string& data_folder,
                              const std::vector<DiscListEntry>& discs, const SearchRequest& request, ListWriter& writer,
                              NameIndex* index, const SearchStepCallback& after_disc);

// Writes every entry the request finds (each disc named by its catalogue
// path) into a list file at native_path; after_disc may stop it.
ListExportOutcome ExportSearchList(CatalogueDocument& catalogue, const std::string& data_folder,
                                   const SearchRequest& request, ListFormat format, const std::string& native_path,
                                   NameIndex* index, const SearchStepCallback& after_disc);

// Writes the entry rows of results (only those at the indexes in chosen,
// when it is not empty) to writer: a row's disc is the disc header above it,
// and headers of groups of duplicates are left out. The rows written.
std::size_t WriteResultRows(const SearchResults& results, const std::vector<std::size_t>& chosen, ListWriter& writer);

// Writes the entry rows of results (only those at the indexes in chosen,
// when it is not empty) into a list file; a row's disc is the disc header
// above it, and headers of groups of duplicates are left out.
ListExportOutcome ExportResultRows(const SearchResults& results, const std::vector<std::size_t>& chosen,
                                   const ListOptions& options, ListFormat format, const std::string& native_path);

}  // namespace movra
