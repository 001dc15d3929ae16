#pragma once
// Cases for the chart tests: hand-made readings and the generated sample recordings, loaded
// and analysed exactly as the program does.

#include <QtGui/QColor>
#include <QtGui/QImage>
#include <memory>
#include <vector>

#include "analysis/CaseAnalysis.h"
#include "cases/CaseDocument.h"
#include "cases/CaseState.h"
#include "charts/ChartSource.h"
#include "language/Language.h"
#include "support/TempDir.h"

namespace vesk::test {

// The English language tables of the source tree.
const CLanguage& EnglishTables();

_BP_RECORD Reading(int day, int hour, int minute, int sys, int dia, int pr = 70);

// A case opened from a file written by the sample generator, with its analysis.
struct LoadedCase {
  TempDir dir;
  CaseState state;
  std::unique_ptr<LanguageErrorTexts> texts;
  std::unique_ptr<CaseDocument> doc;
  CaseAnalysis analysis;
  ChartSource source;
};
std::unique_ptr<LoadedCase> LoadSample(const _FILE_ALL_INFO& info);

// A source over bare readings, analysed like an opened case.
struct BareCase {
  std::vector<_BP_RECORD> readings;
  std::vector<_SPO2_SAMPLE> samples;
  CaseAnalysis analysis;
  ChartSource source;
  void Analyse();  // fills analysis and source from readings/samples
};

QImage Blank(int w = 1000, int h = 700);
bool SameColour(QRgb pixel, const QColor& colour);
// How many pixels of `colour` lie inside `area`.
int CountColour(const QImage& image, const QRect& area, const QColor& colour);

}  // namespace vesk::test
