// The catalogue: any file that opens, edited by path operations and saved,
// opens again and saves to the same bytes.
#include "catalog/CatalogueDocument.h"
#include "catalog/NameRules.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace movra;
  fuzz::MemoryFileSystem files;
  SetFileSystem(&files);
  fuzz::Fields fields(data, size);
  const std::string path = "Movra.xml";
  files.files[path] = std::string(fields.Next());

  CatalogueDocument doc;
  if (doc.Open(path)) {
    for (int step = 0; step < 16 && !fields.Rest().empty(); ++step) {
      const std::uint8_t op = fields.Byte();
      const std::string a(fields.Next());
      const std::string b(fields.Next());
      switch (op % 6) {
        case 0: doc.GetOrAddChild(doc.CdList(), "T_" + CleanName(a)); break;
        case 1: doc.GetOrAddChild(doc.ResolvePath(a, false), "D_" + CleanName(b)); break;
        case 2: doc.RemoveByPath(a); break;
        case 3: doc.RenameCategory(a, CleanName(b)); break;
        case 4: doc.SetElementText(doc.ResolvePath(a, op & 8), b); break;
        case 5: doc.SetChildText(doc.ResolvePath(a, true), "Memo", b); break;
      }
    }
    doc.MarkModified();
    FUZZ_CHECK(doc.Save() == SaveResult::kSaved);
    const std::string saved = files.files[path];
    CatalogueDocument again;
    FUZZ_CHECK(again.Open(path));
    FUZZ_CHECK(again.Serialize() == saved);
  }
  SetFileSystem(nullptr);
  return 0;
}
