// vesk-cli: the program's core without a window, for scripts, tests and support.
#include <cstdio>
#include <string>
#include <vector>

#include "Cli.h"
#include "app/AppInfo.h"
#include "platform/ProgramDir.h"

namespace vesk::cli {
std::map<std::string, CommandInfo>& Commands() {
  static std::map<std::string, CommandInfo> commands;
  return commands;
}
}  // namespace vesk::cli

namespace {
int Usage(FILE* out) {
  std::fprintf(out, "usage: vesk-cli [--home DIR] COMMAND ...\n\ncommands:\n");
  for (const auto& [word, info] : vesk::cli::Commands())
    if (!info.usage.empty()) std::fprintf(out, "%s\n", info.usage.c_str());
  return out == stderr ? 2 : 0;
}
}  // namespace

int main(int argc, char** argv) {
  vesk::ResolveProgramDir(argc, argv);
  if (argc < 2) return Usage(stderr);
  const std::string word = argv[1];
  if (word == "help" || word == "--help" || word == "-h") return Usage(stdout);
  if (word == "--version") {
    std::printf("vesk-cli %s\n", vesk::g_Version.c_str());
    return 0;
  }
  auto& commands = vesk::cli::Commands();
  // A command may be registered as two words ("case stats"); the longer match wins.
  if (argc >= 3) {
    auto sub = commands.find(word + " " + argv[2]);
    if (sub != commands.end())
      return sub->second.run(std::vector<std::string>(argv + 3, argv + argc));
  }
  auto it = commands.find(word);
  if (it == commands.end()) {
    std::fprintf(stderr, "vesk-cli: unknown command '%s'\n", word.c_str());
    return Usage(stderr);
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  return it->second.run(args);
}
