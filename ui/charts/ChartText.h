#pragma once
// Texts of the charts: language lookups that tolerate a missing table, and printf-style
// formatting with the exact formats the charts have always shown.

#include <QtCore/QString>
#include <QtGui/QColor>

#include "settings/ConfigTypes.h"

namespace vesk {

class CLanguage;

inline constexpr const char* kChartGlobal = "Global Setting";
inline constexpr const char* kChartMenu = "Menu Setting";
inline constexpr const char* kChartMessage = "Message Setting";
inline constexpr const char* kChartDialog = "Dialog Setting";
inline constexpr const char* kChartCorreLine = "CorreLine";

QString ChartText(const CLanguage* language, const char* section, const char* key);

inline QColor ToQColor(const Rgb& c) {
  return QColor(c.r, c.g, c.b);
}

}  // namespace vesk
