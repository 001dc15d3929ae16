#pragma once
// The program's two folders. Names are written as the program has always written them, with
// a leading backslash ("\\MreConfig.ini", "\\Language"); ProgramPath turns them into paths.
//
// The home folder holds everything the program writes: MreConfig.ini, the report sets,
// Cnf.start, ZavStart, PDF, CaseInfo.xml, DIAGNOSEINFO.xml and the default case folder data.
// It is "--home DIR" when given, else $VESK_HOME, else the executable's folder when that holds
// its own Language folder and is writable (a portable copy), else $XDG_DATA_HOME/vesk
// (~/.local/share/vesk).
//
// The share folder holds what the program only reads: Language, res, Help and the report
// program. It is $VESK_SHARE when set, else <exe>/../share/vesk when that holds a Language
// folder (an installed program), else the executable's folder. A home folder that holds a
// Language, res or Help folder of its own serves that folder instead (a portable or demo home
// keeps working as one folder, and a clinic may put its own language files there).

#include <string>
#include <string_view>

namespace vesk {

// What the folder choice depends on; empty strings are unset.
struct FolderSources {
  std::string homeOption;   // --home DIR
  std::string envHome;      // $VESK_HOME
  std::string envShare;     // $VESK_SHARE
  std::string xdgDataHome;  // $XDG_DATA_HOME
  std::string userHome;     // $HOME, or the password entry's folder
  std::string exeDir;       // folder of the running executable
};

enum class HomeOrigin { Option, Environment, Portable, UserData, None };

struct ProgramFolders {
  std::string home;
  std::string share;
  HomeOrigin origin = HomeOrigin::None;
  std::string error;  // why no usable home folder was found or made; empty when fine
};

// Decides both folders from the sources alone; creates nothing. Looks at the file system only
// for the Language folders and whether the executable's folder is writable.
[[nodiscard]] ProgramFolders ChooseProgramFolders(const FolderSources& sources);

// Makes the home folder ready for a first start: creates it and its default case folder
// "data" and proves that a file can be written there. False with a message for the user
// (naming the folder and how to choose another) when it cannot.
[[nodiscard]] bool PrepareHomeFolder(const std::string& home, std::string* error);

// Reads the command line and the environment, removes a "--home DIR" (or "--home=DIR") pair
// from argv, chooses and prepares both folders and sets them for the process. error is set
// when the home folder cannot be used; the folders are set regardless.
ProgramFolders ResolveProgramFolders(int& argc, char** argv);

// ResolveProgramFolders without the preparation, for tools that only read; returns the home.
std::string ResolveProgramDir(int& argc, char** argv);

// Sets the home folder directly (tests, tools). No trailing separator is kept.
void SetProgramDir(std::string dir);
// The home folder without a trailing separator.
std::string GetProgramDir();

// Sets the share folder; empty makes the home folder serve as the share folder too.
void SetShareDir(std::string dir);
// The share folder without a trailing separator; the home folder when none is set.
std::string GetShareDir();

// The folder of the running executable.
std::string GetExecutableDir();

// The home folder + name, with every backslash turned into the platform separator. Names
// below Language, res or Help are read-only resources: they come from the home folder when it
// has that folder of its own, else from the share folder.
std::string ProgramPath(std::string_view backslashName);

// The share folder + name, ignoring any copy in the home folder.
std::string SharePath(std::string_view backslashName);

// Joins a folder and a name with one separator.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace vesk
