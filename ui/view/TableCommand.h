#pragma once
// The edit-data command (32904): the data table over the open case. Confirm saves the edited
// readings with their history entries and analyses the case again; a failed save is told to
// the user and keeps the table open with its edits. A case file changed elsewhere since the
// case was opened is opened again before the table shows; one changed while the table is
// open refuses the save, and the table closes with the case opened again as it is now.

#include <cstdint>
#include <string>

#include "cases/CaseFileResult.h"

namespace vesk {

class CZavView;
class CLanguage;

void OnEditData(CZavView& view);

// The message of a failed save of the table, in the loaded language. historyDamaged: the
// file's edit history could not be read when the table opened.
std::string TableSaveFailureText(const CLanguage& language, CaseFileResult result,
                                 const std::string& path, bool historyDamaged = false);

}  // namespace vesk
