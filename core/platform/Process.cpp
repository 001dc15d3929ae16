#include "platform/Process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace vesk {

ProcessResult RunAndWait(const std::string& program, const std::vector<std::string>& args) {
  ProcessResult result;
  if (program.empty()) return result;

  std::vector<char*> argv;
  argv.reserve(args.size() + 2);
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  // glibc's posix_spawn reports a failed exec through its return value, so a program that
  // exists but cannot run (no permission, not an executable) counts as not started rather
  // than as a child that exited with 127. A bare name is searched on PATH like a shell would.
  pid_t pid = 0;
  int rc = program.find('/') == std::string::npos
               ? ::posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ)
               : ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (rc != 0) return result;
  result.started = true;

  int status = 0;
  for (;;) {
    pid_t w = ::waitpid(pid, &status, 0);
    if (w == pid) break;
    if (w < 0 && errno != EINTR) return result;
  }
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  return result;
}

}  // namespace vesk
