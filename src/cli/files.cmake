# movra-cli: the command-line front end, on movra_core alone.
find_package(CLI11 CONFIG REQUIRED)
find_package(nlohmann_json REQUIRED)
add_executable(movra-cli
  cli/main.cpp
  cli/CliContext.cpp
  cli/ListCommand.cpp
  cli/MkcatCommand.cpp
  cli/AddCommand.cpp
  cli/ShowCommand.cpp
  cli/SearchCommand.cpp
  cli/IndexCommand.cpp
  cli/RmCommand.cpp
  cli/ExportCommand.cpp
  cli/ImportCommand.cpp
  cli/UpdateCommand.cpp
  cli/ScanSourceArg.cpp
  cli/CheckCommand.cpp
  cli/StatsCommand.cpp
  cli/LocateCommand.cpp
  cli/DupesCommand.cpp
  cli/ImportListCommand.cpp
)
target_link_libraries(movra-cli PRIVATE movra_core CLI11::CLI11 nlohmann_json::nlohmann_json)
if(PROJECT_VERSION)
  target_compile_definitions(movra-cli PRIVATE MOVRA_VERSION="${PROJECT_VERSION}")
endif()
# CLI11 is header-only and heavy: compile it once for every command file.
target_precompile_headers(movra-cli PRIVATE <CLI/CLI.hpp>)
