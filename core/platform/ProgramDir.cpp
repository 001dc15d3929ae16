#include "platform/ProgramDir.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>

namespace vesk {

namespace {
std::mutex g_mutex;
std::string g_dir;

std::string StripTrailing(std::string dir) {
  while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
  return dir;
}

std::string ExecutableFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec).string();
  return exe.parent_path().string();
}
}  // namespace

std::string ResolveProgramDir(int& argc, char** argv) {
  std::string chosen;
  int out = 1;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (std::strcmp(a, "--home") == 0 && i + 1 < argc) {
      chosen = argv[++i];
      continue;
    }
    if (std::strncmp(a, "--home=", 7) == 0) {
      chosen = a + 7;
      continue;
    }
    argv[out++] = argv[i];
  }
  argc = out;
  argv[argc] = nullptr;
  if (chosen.empty()) {
    const char* env = std::getenv("VESK_HOME");
    if (env && *env) chosen = env;
  }
  if (chosen.empty()) chosen = ExecutableFolder();
  std::error_code ec;
  auto abs = std::filesystem::absolute(chosen, ec);
  if (!ec) chosen = abs.lexically_normal().string();
  SetProgramDir(chosen);
  return GetProgramDir();
}

void SetProgramDir(std::string dir) {
  std::lock_guard lock(g_mutex);
  g_dir = StripTrailing(std::move(dir));
}

std::string GetProgramDir() {
  std::lock_guard lock(g_mutex);
  return g_dir;
}

std::string ProgramPath(std::string_view backslashName) {
  std::string name(backslashName);
  for (char& c : name)
    if (c == '\\') c = '/';
  std::string dir = GetProgramDir();
  if (!name.empty() && name.front() != '/') dir += '/';
  return dir + name;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  while (!out.empty() && (out.back() == '/' || out.back() == '\\')) out.pop_back();
  size_t start = 0;
  while (start < name.size() && (name[start] == '/' || name[start] == '\\')) ++start;
  out += '/';
  out += name.substr(start);
  return out;
}

}  // namespace vesk
