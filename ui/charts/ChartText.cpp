#include "charts/ChartText.h"

#include "language/Language.h"

namespace vesk {

QString ChartText(const CLanguage* language, const char* section, const char* key) {
  if (language == nullptr) return {};
  return QString::fromStdString(language->GetText(section, key));
}

}  // namespace vesk
