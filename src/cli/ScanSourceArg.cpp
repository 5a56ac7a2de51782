#include "cli/ScanSourceArg.h"

#include <cctype>
#include <filesystem>

#include <CLI/CLI.hpp>

namespace movra {

std::optional<std::string> ScanPathArgOf(const std::string& source) {
  const bool drive_text = source.size() >= 2 && source[1] == ':' && std::isalpha(static_cast<unsigned char>(source[0]));
  if (drive_text) {
    if (!CliContext::ToGbk(source)) return std::nullopt;
    return DrivePathWithBackslashes(source);
  }
  std::error_code error;
  const std::filesystem::path path = std::filesystem::absolute(NativeOfFsPath(source), error).lexically_normal();
  if (error) return std::nullopt;
  if (!std::filesystem::is_regular_file(path, error) && !std::filesystem::is_directory(path, error)) {
    return std::nullopt;
  }
  std::string native = FsPathOf(path);
  while (native.size() > 1 && native.back() == '/') native.pop_back();
  return native;
}

std::optional<ScanExclusions> ExclusionsArgOf(const std::vector<std::string>& patterns) {
  const std::optional<std::vector<std::string>> gbk = GbkExclusionPatterns(patterns);
  if (!gbk) return std::nullopt;
  return ScanExclusions(*gbk);
}

void AddExcludeOption(CLI::App& command, std::vector<std::string>& patterns) {
  command.add_option("--exclude", patterns,
                     "leave out names that match PATTERN (* and ?, as in search; a folder with everything below it); "
                     "repeatable")
      ->type_name("PATTERN")
      ->expected(1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

}  // namespace movra
