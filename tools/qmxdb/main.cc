// qmxdb: creates and inspects the database files of the shop installation, the db folder beside
// this program, through the library itself (the same paths, key and connections as the
// application). Output goes through the narrow streams only, as UTF-8.
#include <cstring>
#include <exception>
#include <iostream>
#include <string>

#include "qmxdao/storage/CppSQLite3Exception.h"
#include "qmxdao/storage/Utility.h"
#include "tools/qmxdb/commands.h"
#include "tools/qmxdb/utf8_text.h"

namespace {

constexpr int kFailure = 1;
constexpr int kBadUsage = 2;

void printUsage(std::ostream& out) {
  out << "usage: qmxdb <command> [arguments]\n\ncommands:\n";
  for (const qmxdb::Command& command : qmxdb::commandTable()) {
    std::string line = std::string("  ") + command.name + " " + command.synopsis;
    out << line << std::string(line.size() < 30 ? 30 - line.size() : 1, ' ') << command.summary
        << '\n';
  }
}

const qmxdb::Command* findCommand(const char* name) {
  for (const qmxdb::Command& command : qmxdb::commandTable()) {
    if (std::strcmp(command.name, name) == 0) return &command;
  }
  return nullptr;
}

// Runs one command and turns its failure into a message and an exit status.
int runCommand(const qmxdb::Command& command, const qmxdb::Arguments& args) {
  try {
    return command.run(args);
  } catch (const qmxdb::UsageError& e) {
    std::cerr << "qmxdb " << command.name << ": " << e.what() << "\n\n";
    printUsage(std::cerr);
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
  if (argc < 2) {
    printUsage(std::cerr);
    return kBadUsage;
  }
  const std::string name = argv[1];
  if (name == "help" || name == "--help" || name == "-h") {
    printUsage(std::cout);
    return 0;
  }
  const qmxdb::Command* command = findCommand(argv[1]);
  if (command == nullptr) {
    std::cerr << "qmxdb: unknown command " << name << "\n\n";
    printUsage(std::cerr);
    return kBadUsage;
  }
  QMXDAO::Utility::InitDB();
  int status = runCommand(*command, qmxdb::Arguments(argv + 2, argv + argc));
  QMXDAO::Utility::QuitDB();
  return status;
}
