#pragma once
// Starting other programs and waiting for them.

#include <string>
#include <vector>

namespace vesk {

struct ProcessResult {
  bool started = false;  // false: the program could not be created
  int exitCode = -1;     // exit status when it ended normally; -1 otherwise
};

// Starts program with the arguments (no shell involved, so quotes and blanks in arguments
// pass unchanged) and waits without a time limit for its end.
ProcessResult RunAndWait(const std::string& program, const std::vector<std::string>& args);

}  // namespace vesk
