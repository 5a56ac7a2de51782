#include "platform/FileSystem.h"

#include <string>
#include <utility>

#include "platform/TextCodec.h"

namespace movra {
namespace {

RealFileSystem g_real;
FileSystem* g_current = &g_real;

}  // namespace

std::string NativeJoin(std::string_view native_folder, std::string_view gbk_name) {
  std::string path(native_folder);
  path += GbkToUtf8(gbk_name);
  return path;
}

// On some virtual machines taking fresh memory a small page at a time costs
// far more than reading or formatting the bytes that go into it.
void AdviseHugePages(const std::string& buffer) { AdviseHugePages(buffer.data(), buffer.capacity()); }

std::optional<std::string> RealFileSystem::ReadFile(const std::string& path) {
  std::string storage;
  const std::optional<std::string_view> content = ReadFileInto(path, storage);
  if (!content) return std::nullopt;
  const auto offset = static_cast<size_t>(content->data() - storage.data());
  storage.resize(offset + content->size());
  storage.erase(0, offset);
  return storage;
}

namespace {

// Holds the bytes and writes them whole at Commit.
class HeldAtomicFile : public AtomicFile {
 public:
  HeldAtomicFile(FileSystem& fs, std::string path, bool sync) : fs_(fs), path_(std::move(path)), sync_(sync) {}
  bool Write(std::string_view bytes) override {
    bytes_ += bytes;
    return true;
  }
  bool Commit() override { return fs_.WriteFileAtomic(path_, bytes_, sync_); }

 private:
  FileSystem& fs_;
  std::string path_;
  bool sync_;
  std::string bytes_;
};

}  // namespace

std::unique_ptr<AtomicFile> FileSystem::CreateFileAtomic(const std::string& path, bool sync) {
  return std::make_unique<HeldAtomicFile>(*this, path, sync);
}

FileSystem& Fs() { return *g_current; }

void SetFileSystem(FileSystem* fs) { g_current = fs ? fs : &g_real; }

}  // namespace movra
