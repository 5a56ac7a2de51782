#include "cli/CliRun.h"

#include <sys/wait.h>

#include <cstdlib>
#include <sstream>

namespace movra::test {
namespace {

std::string Quoted(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace

std::vector<std::string> CliOutput::Lines() const {
  std::vector<std::string> lines;
  std::istringstream stream(out);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

CliOutput CliHome::Run(const std::vector<std::string>& args) const {
  std::string command = Quoted(MOVRA_CLI) + " --home " + Quoted(home_.path());
  for (const std::string& arg : args) command += " " + Quoted(arg);
  command += " >" + Quoted(scratch_ / "out") + " 2>" + Quoted(scratch_ / "err") + " </dev/null";
  const int status = std::system(command.c_str());
  CliOutput output;
  output.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  output.out = ReadBytes(scratch_ / "out");
  output.err = ReadBytes(scratch_ / "err");
  return output;
}

}  // namespace movra::test
