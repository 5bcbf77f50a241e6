// The qmxdb commands. Each command declares its arguments and options on its own subcommand of
// the command line and returns the function that runs it once the line is parsed; that function
// returns the process's exit status. Failures leave a command as exceptions, which main turns
// into a message and a status: UsageError (status 2, with the command's help),
// CppSQLite3Exception and std::runtime_error (status 1).
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace qmxdb {

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using CommandRun = std::function<int()>;

struct Command {
  const char* name;
  const char* summary;  // one line, for the list of commands
  const char* details;  // more for the command's own help; may be empty
  CommandRun (*declare)(CLI::App& command);
};

// Every command, in the order of the help text.
const std::vector<Command>& commandTable();

CommandRun declareInit(CLI::App& command);
CommandRun declareDemo(CLI::App& command);
CommandRun declareSql(CLI::App& command);
CommandRun declareImport(CLI::App& command);
CommandRun declareExport(CLI::App& command);
CommandRun declareCount(CLI::App& command);
CommandRun declareSchema(CLI::App& command);
CommandRun declareRekey(CLI::App& command);
CommandRun declareVersion(CLI::App& command);
CommandRun declareCheck(CLI::App& command);
CommandRun declareBackup(CLI::App& command);
CommandRun declareRestore(CLI::App& command);
CommandRun declareUpgrade(CLI::App& command);

}  // namespace qmxdb
