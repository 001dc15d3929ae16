#pragma once
// What the windows that edit a case share: the editing lock of a case on a shared case folder,
// and the stamp their changes carry into the edit history.

#include <string>

#include "cases/EditHistory.h"

namespace vesk {

class CLanguage;
class CaseLock;
class CZavView;

// Takes the case's editing lock into lock. A lock another workstation holds is named to the
// user; one left by a program that ended is taken over when the user confirms. False: the case
// may only be viewed.
bool LockCaseForEditing(const std::string& path, const CLanguage& language, CaseLock& lock);

// Before an edit of the open case: when its file was changed elsewhere since it was opened
// (by a program that takes no lock, or a copy over the network), opens it again so the edit
// starts from what the file holds. False when it can no longer be opened (the user was told).
bool ReopenIfChangedElsewhere(CZavView& view);

// After a save refused because the file changed elsewhere: tells the user that the edit was
// not saved and opens the case again as the file now holds it.
void ReopenChangedCase(CZavView& view, const CLanguage& language);

// The user with the present local time, as the edit history records them.
EditStamp EditStampNow(const std::string& user);

}  // namespace vesk
