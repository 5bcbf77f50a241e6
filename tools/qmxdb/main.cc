// qmxdb: creates, fills and inspects the database files of the shop installation, the db folder
// beside this program, through the library itself (the same paths, key, connections and batch
// saves as the application). Output goes through the narrow streams only, as UTF-8.
#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>
#include <map>
#include <string>

#include "qmxdao/storage/CppSQLite3Exception.h"
#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/utf8_text.h"

namespace {

constexpr int kFailure = 1;
constexpr int kBadUsage = 2;

const char kFooter[] =
    "The files are db/QMX.db and db/SALE.db in the folder of this program, opened with the\n"
    "database key. Exit status: 0 success, 1 engine or data failure, 2 bad usage.\n"
    "\"qmxdb COMMAND --help\" describes one command.";

// The help of the command the line chose, or of qmxdb itself.
void printUsageError(const CLI::App& app, const std::string& message) {
  std::cerr << "qmxdb: " << message << "\n\n" << app.help();
}

// Runs one command and turns its failure into a message and an exit status.
int runCommand(const CLI::App& app, const qmxdb::CommandRun& run) {
  try {
    return run();
  } catch (const qmxdb::UsageError& e) {
    printUsageError(app, e.what());
    return kBadUsage;
  } catch (const CppSQLite3Exception& e) {
    std::cerr << "error " << e.errorCode() << ": " << qmxdb::toUtf8(e.errorMessage()) << '\n';
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << '\n';
  }
  return kFailure;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("qmxdb: the shop's database files, through the QMXDAOService library", "qmxdb");
  app.footer(kFooter);
  app.require_subcommand(1);
  std::map<const CLI::App*, qmxdb::CommandRun> runs;
  for (const qmxdb::Command& command : qmxdb::commandTable()) {
    CLI::App* sub = app.add_subcommand(command.name, command.summary);
    if (*command.details != '\0') sub->footer(std::string(command.details) + "\n\n" + kFooter);
    runs[sub] = command.declare(*sub);
  }

  if (argc == 2 && std::string(argv[1]) == "help") {
    std::cout << app.help();
    return 0;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::ParseError& e) {
    printUsageError(app, e.what());
    return kBadUsage;
  }

  const CLI::App* chosen = app.get_subcommands().front();
  QMXDAO::Utility::InitDB();
  int status = runCommand(app, runs.at(chosen));
  QMXDAO::Utility::QuitDB();
  return status;
}
