#pragma once
// A program folder ready to run: the language files and resources the program needs, and an
// empty case folder. Preparing a folder again only adds what is missing; nothing the user
// has there is ever removed or overwritten.

#include <string>
#include <vector>

namespace vesk {

struct DemoHomeResult {
  bool ok = false;
  std::string error;                 // what failed, when !ok
  std::vector<std::string> created;  // files and folders made by this call, relative to home
};

// home/Language: every dataDir/Language/*.lng missing there; home/res: every file below
// dataDir/res missing there; home/data: an empty folder when missing. Files are copied
// atomically, so an interrupted copy never leaves half a file that a later call would keep.
DemoHomeResult PrepareDemoHome(const std::string& home, const std::string& dataDir);

}  // namespace vesk
