#include "view/ChartImageMenu.h"

#include <QtCore/QFileInfo>

namespace vesk {

ChartImageTexts ChartImageMenuTexts(const std::string& languageName) {
  if (languageName == "Chinese")
    return {QString::fromUtf8("\xE5\xB0\x86\xE5\x9B\xBE\xE8\xA1\xA8\xE5\x8F\xA6\xE5\xAD\x98\xE4\xB8"
                              "\xBA PNG..."),
            QString::fromUtf8("\xE5\xA4\x8D\xE5\x88\xB6\xE5\x9B\xBE\xE8\xA1\xA8"),
            QString::fromUtf8("\xE6\x97\xA0\xE6\xB3\x95\xE4\xBF\x9D\xE5\xAD\x98\xE5\x9B\xBE\xE8\xA1"
                              "\xA8\xEF\xBC\x9A")};
  return {"Save chart as PNG...", "Copy chart", "The chart could not be saved: "};
}

QString DefaultChartImageName(const std::string& casePath, int kind) {
  static const char* const kinds[] = {"trend", "spo2", "histogram", "pie", "correlation"};
  const char* kindName = kind >= 0 && kind < 5 ? kinds[kind] : "chart";
  QString stem = QFileInfo(QString::fromStdString(casePath)).completeBaseName();
  if (stem.isEmpty()) stem = "chart";
  return stem + "-" + kindName + ".png";
}

QString WithPngSuffix(const QString& path) {
  if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
  return path + ".png";
}

}  // namespace vesk
