// Opening a catalogue of 10,000 discs (100 main categories of 10
// sub-categories with 10 discs each) and filling the category tree and the
// disc tree from it, in a real frame under the virtual display; then the
// whole start-up of the main window on the same catalogue. References from
// the same run: parsing the file with pugixml alone, and appending the same
// number of nodes to a plain tree without sorting.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <unistd.h>

#include <pugixml.hpp>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include "window/app/TForm1.h"
#include "window/controls/CategoryTrees.h"
#include "platform/FileSystem.h"

using namespace movra;

namespace {

constexpr int kMains = 100;
constexpr int kSubs = 10;
constexpr int kDiscs = 10;
constexpr int kRounds = 3;

// Name parts mixing Chinese and Latin so that the sort has real work to do.
const char* const kWords[] = {"\xB5\xE7\xD3\xB0", "Music", "\xD2\xF4\xC0\xD6", "backup", "\xD5\xD5\xC6\xAC",
                              "Games", "\xCE\xC4\xB5\xB5", "iso", "\xBD\xCC\xB3\xCC", "Linux"};

// Best of a few rounds; prepare runs before each round, untimed.
double Seconds(const std::function<void()>& work, const std::function<void()>& prepare = {}, int rounds = kRounds) {
  double best = 1e9;
  for (int i = 0; i < rounds; ++i) {
    if (prepare) prepare();
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

// A name from a scrambled number, so document order is not sorted order.
std::string Name(int n) {
  const unsigned scrambled = (static_cast<unsigned>(n) * 2654435761u) % 100000u;
  return std::string(kWords[scrambled % 10]) + "_" + std::to_string(scrambled);
}

void Generate(const std::string& path) {
  CatalogueDocument doc;
  doc.Open(path);
  int n = 0;
  for (int m = 0; m < kMains; ++m) {
    Element main = doc.GetOrAddChild(doc.CdList(), "T_" + Name(n++));
    doc.SetElementText(main, " ");
    for (int s = 0; s < kSubs; ++s) {
      Element sub = doc.GetOrAddChild(main, "T_" + Name(n++));
      doc.SetElementText(sub, " ");
      for (int d = 0; d < kDiscs; ++d) {
        const std::string name = Name(n++);
        Element disc = doc.GetOrAddChild(sub, "D_" + name);
        doc.SetChildText(disc, "Title", name);
        doc.SetChildText(disc, "Time", "2006/3/3 9:07:02");
        doc.SetChildText(disc, "Memo", "line one nbspline two nbsp");
      }
    }
  }
  doc.MarkModified();
  doc.Save();
}

class BenchApp : public wxApp {
 public:
  bool OnInit() override { return true; }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(BenchApp);

int main(int argc, char** argv) {
  wxApp::SetInstance(new BenchApp);
  if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) return 1;

  const std::string folder = "/tmp/movra-window-bench";
  std::filesystem::create_directories(folder + "/CDROM");
  const std::string path = folder + "/Movra.xml";
  if (!std::filesystem::exists(path)) Generate(path);
  std::printf("catalogue: %d discs, %.1f MB\n", kMains * kSubs * kDiscs,
              std::filesystem::file_size(path) / 1e6);

  auto* frame = new wxFrame(nullptr, wxID_ANY, "bench", wxDefaultPosition, wxSize(740, 576));
  auto* tree = new CategoryTreeCtrl(frame, wxID_ANY);
  frame->Show();

  CatalogueDocument doc;
  const double open = Seconds([&] { doc.Open(path); });
  auto clear = [&] {
    tree->DeleteAllItems();
    tree->EnsureRoot();
  };
  const double category_fill = Seconds([&] { FillCategoryTree(*tree, doc, FillMode::kCategories); }, clear);
  const std::size_t category_nodes = tree->GetCount();
  const double disc_fill = Seconds([&] { FillDiscTree(*tree, doc); }, clear);
  const std::size_t disc_nodes = tree->GetCount();

  // References: pugixml alone, and the same number of plain nodes without sorting.
  const double parse_only = Seconds([&] {
    pugi::xml_document plain;
    plain.load_file(path.c_str());
  });
  const double plain_nodes = Seconds(
      [&] {
        const wxTreeItemId root = tree->GetRootItem();
        for (std::size_t i = 0; i < category_nodes + disc_nodes; ++i) tree->AppendItem(root, "node", 0, 0);
      },
      clear);

  // The whole start-up of the main window (backup, open, both fills, selection).
  const std::string saved = std::filesystem::current_path().string();
  std::filesystem::current_path(folder);
  const double start_up = Seconds([&] {
    TForm1Options options;
    options.program_folder = folder;
    delete new TForm1(std::move(options));
  });
  std::filesystem::current_path(saved);

  const double total = open + category_fill + disc_fill;
  std::printf("open                        %8.3f s   (reference: pugixml parse alone %.3f s)\n", open, parse_only);
  std::printf("fill category tree (%5zu)   %8.3f s\n", category_nodes, category_fill);
  std::printf("fill disc tree (%5zu)       %8.3f s\n", disc_nodes, disc_fill);
  std::printf("  reference: %zu plain nodes, no sort %.3f s\n", category_nodes + disc_nodes, plain_nodes);
  std::printf("open + both fills           %8.3f s   goal < 0.5 s  %s\n", total, total < 0.5 ? "ok" : "MISSED");
  std::printf("main window start-up        %8.3f s\n", start_up);

  delete frame;
  wxEntryCleanup();
  return 0;
}
