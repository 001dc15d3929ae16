#pragma once
// Taking the editing lock of a case on a shared case folder, with the questions and messages
// that go with it. Every window that writes a case file takes it the same way: the data table,
// the patient sheet and the case browser's change of the measuring time.

#include <string>

#include "cases/EditHistory.h"

namespace vesk {

class CLanguage;
class CaseLock;

// Takes the case's editing lock into lock. A lock another workstation holds is named to the
// user; one left by a program that ended is taken over when the user confirms. False: the case
// may only be viewed.
bool LockCaseForEditing(const std::string& path, const CLanguage& language, CaseLock& lock);

// The user with the present local time, as the edit history records them.
EditStamp EditStampNow(const std::string& user);

}  // namespace vesk
