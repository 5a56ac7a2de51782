// Records what the window asks the desktop to open, opening nothing, while it lives.
#pragma once

#include <string>
#include <vector>

#include "window/platform/LinkOpener.h"

namespace movra::test {

class RecordingOpener : public LinkOpener {
 public:
  RecordingOpener() { SetLinkOpener(this); }
  ~RecordingOpener() override { SetLinkOpener(nullptr); }
  bool Open(const wxString& url) override {
    links.push_back(url.utf8_string());
    return links_open;
  }
  bool OpenDocument(const wxString& path) override {
    documents.push_back(path.utf8_string());
    return documents_open;
  }
  std::vector<std::string> links;      // UTF-8
  std::vector<std::string> documents;  // native paths
  bool links_open = true;              // false: as a desktop without a browser
  bool documents_open = false;         // true: as a desktop with a viewer for everything
};

}  // namespace movra::test
