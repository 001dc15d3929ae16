#include "platform/ProgramDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "support/TempDir.h"

namespace vesk {
namespace {

// Runs ResolveProgramDir over a command line and returns the arguments it left.
std::vector<std::string> Resolve(std::vector<std::string> args, std::string& dir) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int argc = static_cast<int>(args.size());
  dir = ResolveProgramDir(argc, argv.data());
  EXPECT_EQ(argv[argc], nullptr);
  return std::vector<std::string>(argv.begin(), argv.begin() + argc);
}

class ProgramDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = GetProgramDir();
    const char* env = std::getenv("VESK_HOME");
    hadEnv_ = env != nullptr;
    if (env) savedEnv_ = env;
  }
  void TearDown() override {
    SetProgramDir(saved_);
    SetShareDir("");
    if (hadEnv_)
      ::setenv("VESK_HOME", savedEnv_.c_str(), 1);
    else
      ::unsetenv("VESK_HOME");
  }
  std::string saved_, savedEnv_;
  bool hadEnv_ = false;
};

TEST_F(ProgramDirTest, HomeOptionThenEnvironmentThenExecutableFolder) {
  ::setenv("VESK_HOME", "/env/home", 1);
  std::string dir;
  EXPECT_EQ(Resolve({"prog", "config", "--home", "/opt/vesk/", "show"}, dir),
            (std::vector<std::string>{"prog", "config", "show"}));
  EXPECT_EQ(dir, "/opt/vesk");
  EXPECT_EQ(Resolve({"prog", "--home=/a/./b"}, dir), (std::vector<std::string>{"prog"}));
  EXPECT_EQ(dir, "/a/b");
  EXPECT_EQ(Resolve({"prog", "x"}, dir), (std::vector<std::string>{"prog", "x"}));
  EXPECT_EQ(dir, "/env/home");
  ::setenv("VESK_HOME", "", 1);
  Resolve({"prog", "--home"}, dir);  // a dangling option names no folder
  EXPECT_FALSE(dir.empty());
  EXPECT_NE(dir, "/env/home");
}

TEST_F(ProgramDirTest, BackslashNamesBecomePaths) {
  SetProgramDir("/srv/vesk//");
  EXPECT_EQ(GetProgramDir(), "/srv/vesk");
  EXPECT_EQ(ProgramPath("\\MreConfig.ini"), "/srv/vesk/MreConfig.ini");
  EXPECT_EQ(ProgramPath("\\Language\\English.lng"), "/srv/vesk/Language/English.lng");
  EXPECT_EQ(ProgramPath("Cnf.start"), "/srv/vesk/Cnf.start");
  EXPECT_EQ(JoinPath("/a/", "\\b"), "/a/b");
  EXPECT_EQ(JoinPath("/a", "b/c"), "/a/b/c");
}

namespace fs = std::filesystem;

// A prefix laid out as the install rules lay it out, and a portable copy beside it.
class FolderRuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(prefix() + "/bin");
    fs::create_directories(prefix() + "/share/vesk/Language");
    fs::create_directories(portable() + "/Language");
  }
  std::string prefix() const { return dir_ / "usr"; }
  std::string portable() const { return dir_ / "VESK"; }
  FolderSources Installed() const {
    FolderSources s;
    s.exeDir = prefix() + "/bin";
    s.userHome = "/home/nurse";
    return s;
  }
  test::TempDir dir_;
};

TEST_F(FolderRuleTest, InstalledProgramReadsShareAndWritesUserData) {
  FolderSources s = Installed();
  ProgramFolders f = ChooseProgramFolders(s);
  EXPECT_EQ(f.share, prefix() + "/share/vesk");
  EXPECT_EQ(f.home, "/home/nurse/.local/share/vesk");
  EXPECT_EQ(f.origin, HomeOrigin::UserData);
  EXPECT_TRUE(f.error.empty());

  s.xdgDataHome = "/data/nurse/";
  EXPECT_EQ(ChooseProgramFolders(s).home, "/data/nurse/vesk");
  s.xdgDataHome = "relative/ignored";
  EXPECT_EQ(ChooseProgramFolders(s).home, "/home/nurse/.local/share/vesk");

  s.envHome = "/srv/clinic/";
  f = ChooseProgramFolders(s);
  EXPECT_EQ(f.home, "/srv/clinic");
  EXPECT_EQ(f.origin, HomeOrigin::Environment);
  s.homeOption = "/tmp/../mnt/ward";
  f = ChooseProgramFolders(s);
  EXPECT_EQ(f.home, "/mnt/ward");
  EXPECT_EQ(f.origin, HomeOrigin::Option);
  EXPECT_EQ(f.share, prefix() + "/share/vesk");  // the home never moves the share folder

  s.envShare = "/opt/vesk-share";
  EXPECT_EQ(ChooseProgramFolders(s).share, "/opt/vesk-share");
}

TEST_F(FolderRuleTest, PortableCopyIsItsOwnHomeWhileWritable) {
  FolderSources s;
  s.exeDir = portable();
  s.userHome = "/home/nurse";
  ProgramFolders f = ChooseProgramFolders(s);
  EXPECT_EQ(f.home, portable());
  EXPECT_EQ(f.share, portable());
  EXPECT_EQ(f.origin, HomeOrigin::Portable);

  // A build-tree program has no Language folder of its own: it writes to the user's folder.
  s.exeDir = dir_ / "build/ui";
  fs::create_directories(s.exeDir);
  f = ChooseProgramFolders(s);
  EXPECT_EQ(f.home, "/home/nurse/.local/share/vesk");
  EXPECT_EQ(f.share, s.exeDir);

  if (::geteuid() != 0) {
    ::chmod(portable().c_str(), 0555);
    s.exeDir = portable();
    f = ChooseProgramFolders(s);
    EXPECT_EQ(f.home, "/home/nurse/.local/share/vesk");
    EXPECT_EQ(f.share, portable());
    ::chmod(portable().c_str(), 0755);
  }
}

TEST_F(FolderRuleTest, NoHomeAtAllIsAClearError) {
  FolderSources s = Installed();
  s.userHome.clear();
  const ProgramFolders f = ChooseProgramFolders(s);
  EXPECT_EQ(f.origin, HomeOrigin::None);
  EXPECT_NE(f.error.find("--home"), std::string::npos);
}

TEST_F(FolderRuleTest, FirstStartCreatesTheHomeFolder) {
  const std::string home = dir_ / "a/b/vesk";
  std::string error;
  ASSERT_TRUE(PrepareHomeFolder(home, &error)) << error;
  EXPECT_TRUE(fs::is_directory(home + "/data"));
  // Nothing but the case folder is left behind by the write probe.
  EXPECT_EQ(std::distance(fs::directory_iterator(home), fs::directory_iterator()), 1);
  ASSERT_TRUE(PrepareHomeFolder(home, &error)) << error;  // again: nothing to do

  test::WriteBytes(dir_ / "file", "x");
  EXPECT_FALSE(PrepareHomeFolder(dir_ / "file/vesk", &error));
  EXPECT_NE(error.find(dir_ / "file/vesk"), std::string::npos);
  EXPECT_NE(error.find("cannot be created"), std::string::npos);
  EXPECT_FALSE(PrepareHomeFolder(dir_ / "file", &error));
  EXPECT_NE(error.find("not a folder"), std::string::npos);
  if (::geteuid() != 0) {
    fs::create_directories(dir_ / "locked");
    ::chmod((dir_ / "locked").c_str(), 0555);
    EXPECT_FALSE(PrepareHomeFolder(dir_ / "locked", &error));
    EXPECT_NE(error.find("not writable"), std::string::npos);
  }
}

TEST_F(FolderRuleTest, ResourcesComeFromTheHomeOnlyWhenItHasItsOwn) {
  const std::string home = dir_ / "home";
  fs::create_directories(home);
  SetProgramDir(home);
  SetShareDir(prefix() + "/share/vesk");
  EXPECT_EQ(ProgramPath("\\Language\\English.lng"), prefix() + "/share/vesk/Language/English.lng");
  EXPECT_EQ(ProgramPath("\\res\\Logo.ico"), prefix() + "/share/vesk/res/Logo.ico");
  EXPECT_EQ(ProgramPath("\\Help\\English.chm"), prefix() + "/share/vesk/Help/English.chm");
  EXPECT_EQ(ProgramPath("\\MreConfig.ini"), home + "/MreConfig.ini");
  EXPECT_EQ(ProgramPath("\\Languages.txt"), home + "/Languages.txt");
  EXPECT_EQ(ProgramPath("\\data"), home + "/data");
  fs::create_directories(home + "/Language");
  EXPECT_EQ(ProgramPath("\\Language\\English.lng"), home + "/Language/English.lng");
  EXPECT_EQ(ProgramPath("\\Language"), home + "/Language");
  EXPECT_EQ(SharePath("\\Language"), prefix() + "/share/vesk/Language");
  SetShareDir("");
  EXPECT_EQ(GetShareDir(), home);
  SetProgramDir("");
}

TEST_F(FolderRuleTest, ResolveCreatesAnEmptyHomeFromTheEnvironment) {
  const char* old = std::getenv("VESK_HOME");
  const std::string saved = old ? old : "";
  const std::string home = dir_ / "fresh/home";
  ::setenv("VESK_HOME", home.c_str(), 1);
  std::vector<std::string> args = {"vesk-cli", "config", "show"};
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  int argc = 3;
  const ProgramFolders f = ResolveProgramFolders(argc, argv.data());
  EXPECT_TRUE(f.error.empty()) << f.error;
  EXPECT_EQ(GetProgramDir(), home);
  EXPECT_TRUE(fs::is_directory(home + "/data"));
  EXPECT_EQ(argc, 3);
  if (old)
    ::setenv("VESK_HOME", saved.c_str(), 1);
  else
    ::unsetenv("VESK_HOME");
  SetProgramDir("");
  SetShareDir("");
}

}  // namespace
}  // namespace vesk
