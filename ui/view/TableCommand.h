#pragma once
// The edit-data command (32904): the data table over the open case. Confirm saves the edited
// readings with their history entries and analyses the case again; a failed save is told to
// the user and keeps the table open with its edits.

#include <cstdint>
#include <string>

namespace vesk {

class CZavView;
class CLanguage;
class CaseLock;

void OnEditData(CZavView& view);

// Takes the case's editing lock into lock. A lock another workstation holds is named to the
// user; one left by a program that ended is taken over when the user confirms. False: the case
// may only be viewed.
bool LockCaseForEditing(const std::string& path, const CLanguage& language, CaseLock& lock);

// The message of a failed save of the table, in the loaded language. historyDamaged: the
// file's edit history could not be read when the table opened.
std::string TableSaveFailureText(const CLanguage& language, int32_t result, const std::string& path,
                                 bool historyDamaged = false);

}  // namespace vesk
