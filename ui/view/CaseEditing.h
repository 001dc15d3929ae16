#pragma once
// What the windows that edit the open case share beyond the editing lock: opening the case
// again when its file changed elsewhere.

#include <string>

#include "common/CaseLockPrompt.h"

namespace vesk {

class CLanguage;
class CZavView;

// Before an edit of the open case: when its file was changed elsewhere since it was opened
// (by a program that takes no lock, or a copy over the network), opens it again so the edit
// starts from what the file holds. False when it can no longer be opened (the user was told).
bool ReopenIfChangedElsewhere(CZavView& view);

// After a save refused because the file changed elsewhere: tells the user that the edit was
// not saved and opens the case again as the file now holds it.
void ReopenChangedCase(CZavView& view, const CLanguage& language);

}  // namespace vesk
