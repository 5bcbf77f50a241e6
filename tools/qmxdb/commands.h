// The qmxdb commands. Each command is one function that takes the arguments after the command's
// name and returns the process's exit status. Failures leave a command as exceptions, which main
// turns into a message and a status: UsageError (status 2, with the usage text),
// CppSQLite3Exception and std::runtime_error (status 1).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace qmxdb {

using Arguments = std::vector<std::string>;

class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Command {
  const char* name;
  const char* synopsis;  // the arguments, for the usage text
  const char* summary;
  int (*run)(const Arguments& args);
};

// Every command, in the order of the usage text.
const std::vector<Command>& commandTable();

int runInit(const Arguments& args);
int runSql(const Arguments& args);
int runVersion(const Arguments& args);

}  // namespace qmxdb
