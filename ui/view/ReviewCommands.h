#pragma once
// The main view's review commands: the statistics window (32909), the patient sheet (32775),
// the sleep periods (32800) and the plan view (32910). Each works on the view's open case and
// does nothing without one.

#include <functional>

#include "platform/DateTime.h"

namespace vesk {

class CZavView;
class CZavDoc;

namespace review {

void OnStatistics(CZavView& view);
// Without a document behind the view the sheet is refused with "IDS_DOC_ERROR".
void OnPatientData(CZavView& view, const CZavDoc* doc);
void OnSleepTimes(CZavView& view);
void OnPlanInfo(CZavView& view);

// What "today" is for the birthday rules; tests pin it.
std::function<DateParts()>& Today();

}  // namespace review
}  // namespace vesk
