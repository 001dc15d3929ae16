#pragma once
// vesk-cli commands register themselves here; main() finds them by their first word, or by
// their first two words when a command is registered as "word sub" ("case stats").

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/MessageSink.h"

namespace vesk::cli {

// Arguments after the command word. Returns the process exit code.
using CommandFn = std::function<int(const std::vector<std::string>& args)>;

struct CommandInfo {
  CommandFn run;
  std::string usage;  // one or more lines for "vesk-cli help"
};

std::map<std::string, CommandInfo>& Commands();

// Reports a failure of the command on standard error; returns the exit code for it.
inline int Fail(const std::string& message) {
  std::fprintf(stderr, "vesk-cli: %s\n", message.c_str());
  return 1;
}

// Core messages have no user to ask here: they go to standard error and are answered Ok.
class StderrSink : public IMessageSink {
 public:
  MessageAnswer Show(const Message& m) override {
    std::fprintf(stderr, "vesk-cli: %s\n", m.text.c_str());
    return MessageAnswer::Ok;
  }
};

struct Registrar {
  Registrar(const std::string& word, CommandFn fn, std::string usage) {
    Commands()[word] = CommandInfo{std::move(fn), std::move(usage)};
  }
};

}  // namespace vesk::cli
