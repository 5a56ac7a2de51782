// movra-cli: the catalogue from the shell, on the same workflows as the window.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/CliContext.h"
#include "platform/Console.h"

#ifndef MOVRA_VERSION
#define MOVRA_VERSION "1.0.0"
#endif

// Every command, in the order --help lists them; X(Name) is defined in
// src/cli/<Name>Command.cpp as void Add<Name>Command(CLI::App&, CliContext&).
#define MOVRA_CLI_COMMANDS(X) X(List) X(Mkcat) X(Add) X(Show) X(Search) X(Index) X(Rm) X(Export) X(Import) X(Update) X(Check) X(Stats) X(Locate) X(Dupes) X(ImportList)

namespace movra {
#define MOVRA_CLI_DECLARE(Name) void Add##Name##Command(CLI::App& app, CliContext& context);
MOVRA_CLI_COMMANDS(MOVRA_CLI_DECLARE)
#undef MOVRA_CLI_DECLARE
}  // namespace movra

int main(int argc, char** argv) {
  movra::UseUtf8Output();
  CLI::App app{
      "movra-cli: 在命令行中使用 Movra 的光盘目录（与窗口程序共用 Movra.xml 和 CDROM/）。\n"
      "Exit codes: 0 done (search: found), 1 nothing found (search) or problems found (check), 2 refused or failed.",
      "movra-cli"};
  app.set_version_flag("--version", "movra-cli " MOVRA_VERSION);
  movra::CliContext context;
  app.add_option("--home", context.home_option,
                 "folder that holds Movra.xml, Movra.xml.backup and CDROM/ (created when missing); "
                 "default: the window's folder, MOVRA_HOME overrides")
      ->type_name("DIR");
  app.add_option("--wait", context.wait_seconds,
                 "how long a change waits while another program changes the catalogue (default 10); "
                 "then it is refused with exit status 2")
      ->type_name("SECONDS")
      ->check(CLI::Range(0.0, 86400.0));
  app.require_subcommand(1);
  app.fallthrough();
#define MOVRA_CLI_REGISTER(Name) movra::Add##Name##Command(app, context);
  MOVRA_CLI_COMMANDS(MOVRA_CLI_REGISTER)
#undef MOVRA_CLI_REGISTER
  try {
    // CLI11 takes the arguments last first.
    std::vector<std::string> arguments = movra::CommandArguments(argc, argv);
    std::reverse(arguments.begin(), arguments.end());
    app.parse(std::move(arguments));
  } catch (const CLI::ParseError& error) {
    // Usage errors are refusals (2); --help and --version end with 0.
    return app.exit(error) == 0 ? movra::kExitDone : movra::kExitRefused;
  }
  std::fflush(context.out);
  return context.exit_code;
}
