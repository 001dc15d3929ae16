#pragma once
// vesk-cli commands register themselves here; main() finds them by their first word, or by
// their first two words when a command is registered as "word sub" ("case stats").

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vesk::cli {

// Arguments after the command word. Returns the process exit code.
using CommandFn = std::function<int(const std::vector<std::string>& args)>;

struct CommandInfo {
  CommandFn run;
  std::string usage;  // one or more lines for "vesk-cli help"
};

std::map<std::string, CommandInfo>& Commands();

struct Registrar {
  Registrar(const std::string& word, CommandFn fn, std::string usage) {
    Commands()[word] = CommandInfo{std::move(fn), std::move(usage)};
  }
};

}  // namespace vesk::cli
