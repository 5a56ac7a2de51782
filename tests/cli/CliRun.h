// Runs the built movra-cli on a temporary home and captures what it says.
#pragma once

#include <string>
#include <vector>

#include "support/System.h"
#include "support/TempDir.h"

namespace movra::test {

// What one run of movra-cli gave.
struct CliOutput {
  int status = -1;
  std::string out;  // stdout (UTF-8)
  std::string err;  // stderr (UTF-8)
  // The stdout lines.
  std::vector<std::string> Lines() const;
};

// A temporary home and the means to run movra-cli on it.
class CliHome {
 public:
  // Runs movra-cli --home <home> args...
  CliOutput Run(const std::vector<std::string>& args) const;
  // Starts one movra-cli process per command at once and waits for them all.
  std::vector<CliOutput> RunTogether(const std::vector<std::vector<std::string>>& commands) const;
  // The home folder.
  const TempDir& home() const { return home_; }

 private:
  ChildCommand Command(const std::vector<std::string>& args, const std::string& name) const;
  CliOutput Output(const std::string& name, int status) const;
  TempDir home_;
  TempDir scratch_;
};

}  // namespace movra::test
