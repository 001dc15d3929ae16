#pragma once
// The chart area's context menu: save the shown chart as a PNG file or copy it to the
// clipboard. The language files have a fixed list of keys and none for these entries, so
// their texts are the one place in the window layer that is not looked up in the language
// tables: they are chosen here by the language's name.

#include <QtCore/QString>
#include <string>

namespace vesk {

struct ChartImageTexts {
  QString save;        // the menu entry that asks for a file
  QString copy;        // the menu entry that copies to the clipboard
  QString saveFailed;  // told when the file could not be written
};

// Chinese texts for exactly "Chinese" (as the help file is chosen), English otherwise.
ChartImageTexts ChartImageMenuTexts(const std::string& languageName);

// The name the save dialog proposes: the case file's name with the chart kind and ".png"
// ("case.awp", kind 0 -> "case-trend.png"); "chart-..." without a case path.
QString DefaultChartImageName(const std::string& casePath, int kind);

// A chosen name without an extension gets ".png", so the file is always a PNG by its name.
QString WithPngSuffix(const QString& path);

}  // namespace vesk
