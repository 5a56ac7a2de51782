#include "cli/CliRun.h"

#include "support/System.h"

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

std::string CliHome::CommandLine(const std::vector<std::string>& args, const std::string& name) const {
  std::string command = Quoted(MOVRA_CLI) + " --home " + Quoted(home_.path());
  for (const std::string& arg : args) command += " " + Quoted(arg);
  return command + " >" + Quoted(scratch_ / (name + ".out")) + " 2>" + Quoted(scratch_ / (name + ".err")) +
         " </dev/null";
}

CliOutput CliHome::Output(const std::string& name, int status) const {
  CliOutput output;
  output.status = status;
  output.out = ReadBytes(scratch_ / (name + ".out"));
  output.err = ReadBytes(scratch_ / (name + ".err"));
  return output;
}

CliOutput CliHome::Run(const std::vector<std::string>& args) const {
  const int status = std::system(CommandLine(args, "run").c_str());
  return Output("run", ExitStatusOf(status));
}

std::vector<CliOutput> CliHome::RunTogether(const std::vector<std::vector<std::string>>& commands) const {
  std::string script;
  for (size_t i = 0; i < commands.size(); ++i) {
    const std::string name = "p" + std::to_string(i);
    script += "(" + CommandLine(commands[i], name) + "; echo $? >" + Quoted(scratch_ / (name + ".status")) + ") & ";
  }
  script += "wait";
  std::system(script.c_str());
  std::vector<CliOutput> outputs;
  for (size_t i = 0; i < commands.size(); ++i) {
    const std::string name = "p" + std::to_string(i);
    const std::string status = ReadBytes(scratch_ / (name + ".status"));
    outputs.push_back(Output(name, status.empty() ? -1 : std::atoi(status.c_str())));
  }
  return outputs;
}

}  // namespace movra::test
