#pragma once
// The review windows take their texts from the language object their caller hands them.

#include <QtCore/QString>

#include "language/Language.h"

namespace vesk::review {

inline QString Text(const CLanguage& language, const char* section, const char* key) {
  return QString::fromStdString(language.GetText(section, key));
}

}  // namespace vesk::review
