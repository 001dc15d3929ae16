#pragma once
// Runs vesk-cli on a home folder and keeps its exit code and standard output (standard error
// is dropped unless asked for), for the tests of the commands that work on a home.

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace vesk::test {

struct CliRun {
  int exitCode = -1;
  std::string out;
};

// withErrors: standard error goes into `out` as well, for the messages that explain a failure.
inline CliRun Cli(const std::string& home, const std::string& args, bool withErrors = false) {
  const std::string command = std::string("'") + VESK_CLI + "' --home '" + home + "' " + args +
                              (withErrors ? " 2>&1" : " 2>/dev/null");
  CliRun r;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
  const int status = pclose(pipe);
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace vesk::test
