#include "cli/CliRun.h"

#include <filesystem>
#include <sstream>

#include "platform/FileSystem.h"
#include "support/System.h"

namespace movra::test {
namespace {

// The movra-cli beside the test program when there is one (the build's own
// path may not be reachable from where the test runs), else the build's.
std::string CliProgram() {
  const std::string beside = ProgramFolder() + "/" + PathOf(MOVRA_CLI).filename().string();
  return PathExists(beside) ? beside : std::string(MOVRA_CLI);
}

}  // namespace

std::vector<std::string> CliOutput::Lines() const {
  std::vector<std::string> lines;
  std::istringstream stream(out);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

ChildCommand CliHome::Command(const std::vector<std::string>& args, const std::string& name) const {
  ChildCommand command;
  command.arguments = {CliProgram(), "--home", home_.path()};
  command.arguments.insert(command.arguments.end(), args.begin(), args.end());
  command.out_path = scratch_ / (name + ".out");
  command.err_path = scratch_ / (name + ".err");
  return command;
}

CliOutput CliHome::Output(const std::string& name, int status) const {
  CliOutput output;
  output.status = status;
  output.out = ReadBytes(scratch_ / (name + ".out"));
  output.err = ReadBytes(scratch_ / (name + ".err"));
  return output;
}

CliOutput CliHome::Run(const std::vector<std::string>& args) const {
  return Output("run", RunChild(Command(args, "run")));
}

std::vector<CliOutput> CliHome::RunTogether(const std::vector<std::vector<std::string>>& commands) const {
  std::vector<ChildCommand> children;
  for (size_t i = 0; i < commands.size(); ++i) children.push_back(Command(commands[i], "p" + std::to_string(i)));
  const std::vector<int> statuses = RunChildren(children);
  std::vector<CliOutput> outputs;
  for (size_t i = 0; i < commands.size(); ++i) outputs.push_back(Output("p" + std::to_string(i), statuses[i]));
  return outputs;
}

}  // namespace movra::test
