#pragma once
// What the transfer dialogs share: texts from the language object their caller hands them,
// controls named by their ids, and the OK/Cancel row (ids 1 and 2).

#include <QtCore/QString>
#include <QtWidgets/QDialog>
#include <string_view>

#include "language/Language.h"

class QHBoxLayout;
class QPushButton;

namespace vesk {

inline QString LangText(const CLanguage& language, std::string_view section, std::string_view key) {
  return QString::fromStdString(language.GetText(section, key));
}

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// OK "IDS_MAKE_SURE" and Cancel "IDS_CANCEL" at the right; Cancel rejects the dialog, OK is
// left to the caller.
QHBoxLayout* DeviceOkCancelRow(QDialog* dialog, const CLanguage& language, QPushButton** ok,
                               QPushButton** cancel = nullptr);

}  // namespace vesk
