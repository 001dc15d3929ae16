#include "app/Shutdown.h"

#include "platform/FileUtil.h"
#include "platform/ProgramDir.h"

namespace vesk {

bool RemoveReportStartFolder() {
  // Without a program folder the name would point at "/ZavStart"; never remove that.
  if (GetProgramDir().empty()) return true;
  return fsutil::RemoveFolderTree(ProgramPath("\\ZavStart"));
}

}  // namespace vesk
