#include "platform/ProgramDir.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>

#include "platform/FileUtil.h"

namespace vesk {

namespace fs = std::filesystem;

namespace {
std::mutex g_mutex;
std::string g_home;
std::string g_share;

// The folders below which the program only reads.
constexpr std::array<std::string_view, 3> kResourceFolders = {"Language", "res", "Help"};

std::string StripTrailing(std::string dir) {
  while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\')) dir.pop_back();
  return dir;
}

std::string Normal(const std::string& dir) {
  std::error_code ec;
  auto abs = fs::absolute(dir, ec);
  if (ec) return StripTrailing(dir);
  return StripTrailing(abs.lexically_normal().string());
}

bool IsFolder(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string UserHome() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
  return {};
}

std::string Slashed(std::string_view backslashName) {
  std::string name(backslashName);
  for (char& c : name)
    if (c == '\\') c = '/';
  return name;
}

std::string Below(std::string dir, const std::string& name) {
  if (!name.empty() && name.front() != '/') dir += '/';
  return dir + name;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The resource folder a name lies in ("Language" for "/Language/English.lng"), or empty.
std::string_view ResourceFolderOf(const std::string& name) {
  size_t start = 0;
  while (start < name.size() && name[start] == '/') ++start;
  const size_t end = name.find('/', start);
  const std::string_view first =
      std::string_view(name).substr(start, end == std::string::npos ? end : end - start);
  for (std::string_view folder : kResourceFolders)
    if (EqualsIgnoringCase(first, folder)) return first;
  return {};
}

std::string StripHomeOption(int& argc, char** argv) {
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
  if (argc > 0) argc = out;
  argv[argc] = nullptr;
  return chosen;
}

ProgramFolders ResolveAndSet(int& argc, char** argv, bool prepare) {
  FolderSources sources;
  sources.homeOption = StripHomeOption(argc, argv);
  sources.envHome = Env("VESK_HOME");
  sources.envShare = Env("VESK_SHARE");
  sources.xdgDataHome = Env("XDG_DATA_HOME");
  sources.userHome = UserHome();
  sources.exeDir = GetExecutableDir();
  ProgramFolders folders = ChooseProgramFolders(sources);
  if (prepare && folders.error.empty()) {
    std::string why;
    if (!PrepareHomeFolder(folders.home, &why)) folders.error = why;
  }
  SetProgramDir(folders.home);
  SetShareDir(folders.share);
  return folders;
}
}  // namespace

ProgramFolders ChooseProgramFolders(const FolderSources& s) {
  ProgramFolders f;
  if (!s.envShare.empty()) {
    f.share = Normal(s.envShare);
  } else if (!s.exeDir.empty() && IsFolder(fs::path(s.exeDir) / "../share/vesk/Language")) {
    f.share = Normal((fs::path(s.exeDir) / "../share/vesk").string());
  } else {
    f.share = Normal(s.exeDir);
  }

  if (!s.homeOption.empty()) {
    f.home = Normal(s.homeOption);
    f.origin = HomeOrigin::Option;
  } else if (!s.envHome.empty()) {
    f.home = Normal(s.envHome);
    f.origin = HomeOrigin::Environment;
  } else if (!s.exeDir.empty() && IsFolder(fs::path(s.exeDir) / "Language") &&
             ::access(s.exeDir.c_str(), W_OK) == 0) {
    f.home = Normal(s.exeDir);
    f.origin = HomeOrigin::Portable;
  } else if (!s.xdgDataHome.empty() && s.xdgDataHome.front() == '/') {
    // Relative values of XDG_DATA_HOME are to be ignored, as for every XDG variable.
    f.home = Normal(JoinPath(s.xdgDataHome, "vesk"));
    f.origin = HomeOrigin::UserData;
  } else if (!s.userHome.empty()) {
    f.home = Normal(JoinPath(s.userHome, ".local/share/vesk"));
    f.origin = HomeOrigin::UserData;
  } else {
    f.error =
        "No home folder for the program: neither --home, VESK_HOME, XDG_DATA_HOME nor HOME "
        "names one. Start it with --home DIR or set VESK_HOME.";
  }
  return f;
}

bool PrepareHomeFolder(const std::string& home, std::string* error) {
  auto fail = [&](const std::string& what, int err) {
    if (error)
      *error = "The home folder " + home + " " + what + ": " + std::strerror(err) +
               ". Start the program with --home DIR or set VESK_HOME to a folder you can write.";
    return false;
  };
  if (home.empty()) return fail("is not named", ENOENT);
  std::error_code ec;
  if (fs::exists(fs::symlink_status(home, ec)) && !IsFolder(home))
    return fail("is not a folder", ENOTDIR);
  fs::create_directories(home, ec);
  if (ec) return fail("cannot be created", ec.value());
  if (!IsFolder(home)) return fail("is not a folder", ENOTDIR);
  // access() says yes to root on a read-only mount; only a real file proves it.
  const std::string probe = fsutil::TempName(JoinPath(home, "home-probe"));
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return fail("is not writable", errno);
  ::close(fd);
  ::unlink(probe.c_str());
  fs::create_directories(JoinPath(home, "data"), ec);
  if (ec) return fail("has no case folder data and it cannot be created", ec.value());
  return true;
}

ProgramFolders ResolveProgramFolders(int& argc, char** argv) {
  return ResolveAndSet(argc, argv, true);
}

std::string ResolveProgramDir(int& argc, char** argv) {
  ResolveAndSet(argc, argv, false);
  return GetProgramDir();
}

void SetProgramDir(std::string dir) {
  std::lock_guard lock(g_mutex);
  g_home = StripTrailing(std::move(dir));
}

std::string GetProgramDir() {
  std::lock_guard lock(g_mutex);
  return g_home;
}

void SetShareDir(std::string dir) {
  std::lock_guard lock(g_mutex);
  g_share = StripTrailing(std::move(dir));
}

std::string GetShareDir() {
  std::lock_guard lock(g_mutex);
  return g_share.empty() ? g_home : g_share;
}

std::string GetExecutableDir() {
  std::error_code ec;
  auto exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return fs::current_path(ec).string();
  return exe.parent_path().string();
}

std::string ProgramPath(std::string_view backslashName) {
  const std::string name = Slashed(backslashName);
  const std::string home = GetProgramDir();
  const std::string_view resource = ResourceFolderOf(name);
  if (!resource.empty() && !IsFolder(JoinPath(home, resource))) return Below(GetShareDir(), name);
  return Below(home, name);
}

std::string SharePath(std::string_view backslashName) {
  return Below(GetShareDir(), Slashed(backslashName));
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
