#pragma once
// The program folder: every file the program reads or writes is named from it. It is
// "--home DIR" when given, else the environment variable VESK_HOME, else the folder of the
// running executable. Names are written as the program has always written them, with a
// leading backslash ("\\MreConfig.ini", "\\Language"); ProgramPath turns them into paths
// below the folder with the platform's separator.

#include <string>
#include <string_view>

namespace vesk {

// Decides the program folder from the command line and the environment and removes a
// "--home DIR" (or "--home=DIR") pair from argv. Returns the folder chosen.
std::string ResolveProgramDir(int& argc, char** argv);

// Sets the folder directly (tests, tools). No trailing separator is kept.
void SetProgramDir(std::string dir);

// The folder without a trailing separator.
std::string GetProgramDir();

// GetProgramDir() + name, with every backslash of name turned into the platform separator.
std::string ProgramPath(std::string_view backslashName);

// Joins a folder and a name with one separator.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace vesk
