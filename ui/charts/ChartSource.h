#pragma once
// Everything a chart reads: borrowed views of the opened case and its analysis, the
// thresholds and periods, the colours and the language tables. The view builds one from its
// document; tests and the report pictures can fill one from bare records.

#include <array>
#include <vector>

#include "analysis/CaseAnalysis.h"
#include "cases/CaseRecord.h"
#include "charts/TrendMath.h"
#include "settings/ConfigTypes.h"

namespace vesk {

class CaseDocument;
struct CaseState;
class CLanguage;

struct ChartSource {
  const std::vector<_BP_RECORD>* readings = nullptr;  // every reading of the case, file order
  const CaseAnalysis* analysis = nullptr;
  const std::vector<_SPO2_SAMPLE>* samples = nullptr;
  OleDateTime spo2Start, spo2End;
  TrendLimits limits;
  bool multiDay = false;  // equally spaced bars with the pulse line
  const CLanguage* language = nullptr;
  std::array<Rgb, 5> colours = kColourTable;
  // The pie's chosen period and ranges, for its captions.
  Period period = Period::All;
  RangeLimits ranges;
};

// The source for an opened case; thresholds and periods come from the case state.
ChartSource SourceFromDocument(const CaseDocument& doc, const CaseAnalysis& analysis,
                               const CaseState& state, const CLanguage* language);

}  // namespace vesk
