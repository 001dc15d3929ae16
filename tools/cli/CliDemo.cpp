// vesk-cli demo init: makes the home folder ready to run, adding only what is missing.
#include <cstdio>
#include <string>
#include <vector>

#include "Cli.h"
#include "app/DemoHome.h"
#include "platform/ProgramDir.h"

namespace vesk::cli {
namespace {

int Usage() {
  std::fprintf(stderr, "usage: vesk-cli [--home DIR] demo init --data DATA_DIR\n");
  return 2;
}

int DemoCommand(const std::vector<std::string>& args) {
  if (args.empty() || args[0] != "init") return Usage();
  std::string data;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--data" && i + 1 < args.size())
      data = args[++i];
    else if (args[i].rfind("--data=", 0) == 0)
      data = args[i].substr(7);
    else
      return Usage();
  }
  if (data.empty()) return Usage();

  const std::string home = GetProgramDir();
  const DemoHomeResult r = PrepareDemoHome(home, data);
  for (const std::string& item : r.created)
    std::printf("created %s\n", item == "." ? home.c_str() : item.c_str());
  if (!r.ok) {
    std::fprintf(stderr, "vesk-cli: %s\n", r.error.c_str());
    return 1;
  }
  std::printf("home %s ready\n", home.c_str());
  return 0;
}

const Registrar registrar(
    "demo", DemoCommand,
    "  demo init --data DIR              prepare the home folder: language files, "
    "resources, an empty case folder");

}  // namespace
}  // namespace vesk::cli
