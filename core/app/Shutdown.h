#pragma once
// Clean-up at the end of the program.

namespace vesk {

// Removes the report start folder "<program folder>/ZavStart" with everything in it. A
// missing folder is no error. Returns false when something could not be removed.
bool RemoveReportStartFolder();

}  // namespace vesk
