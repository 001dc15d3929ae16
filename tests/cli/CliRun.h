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
  std::string err;  // only from CliWithErrors
};

// errTarget: where standard error goes, as the shell names it.
inline CliRun RunCli(const std::string& home, const std::string& args,
                     const std::string& errTarget) {
  const std::string command =
      std::string("'") + VESK_CLI + "' --home '" + home + "' " + args + " 2>" + errTarget;
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

inline CliRun Cli(const std::string& home, const std::string& args) {
  return RunCli(home, args, "/dev/null");
}

// The same, with standard error kept in errFile and returned, for tests of the messages.
inline CliRun CliWithErrors(const std::string& home, const std::string& args,
                            const std::string& errFile) {
  CliRun r = RunCli(home, args, "'" + errFile + "'");
  if (FILE* f = std::fopen(errFile.c_str(), "rb")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) r.err.append(buffer, n);
    std::fclose(f);
  }
  return r;
}

}  // namespace vesk::test
