#pragma once
// Small hand-built cases and heads for the report tests.

#include <string>

#include "cases/CaseRecord.h"
#include "language/Language.h"
#include "reports/ReportBuilder.h"
#include "support/HomeFixture.h"

namespace vesk::test {

inline _BP_RECORD Reading(int index, int day, int hour, int minute, int sys, int dia, int map,
                          int pr, std::string comment = {}) {
  _BP_RECORD r;
  r.index = index;
  r.year = 2024, r.month = 3, r.day = int16_t(day), r.hour = int16_t(hour);
  r.minute = int16_t(minute);
  r.sys = sys, r.dia = int16_t(dia), r.map = int16_t(map), r.pr = int16_t(pr);
  r.comment = std::move(comment);
  return r;
}

// Two awake readings and one asleep reading (periods 07:00 / 22:00).
inline _FILE_ALL_INFO SmallCase() {
  _FILE_ALL_INFO f;
  f.modelCode = kTaloBlack;
  f.modelName = "TALOBlack";
  f.dataMode = 1;
  f.patient.name = "Ann";
  f.patient.caseId = "A1";
  f.readings = {Reading(0, 5, 9, 30, 150, 95, 113, 70, "walk"),
                Reading(1, 5, 14, 0, 130, 80, 97, 66), Reading(2, 5, 23, 15, 110, 65, 80, 58)};
  return f;
}

inline ReportHead AllPages(int spo2Variant = 1) {
  ReportHead h;
  h.pages.fill(1);
  h.spo2Variant = spo2Variant;
  h.title = "Report";
  h.recordingLength = 0;
  return h;
}

inline void LoadEnglish(CLanguage& language) {
  ASSERT_TRUE(language.LoadFile(SourceDataDir() + "/Language/English.lng"));
}

}  // namespace vesk::test
