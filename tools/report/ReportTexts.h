#pragma once
// The texts of the report: section "Report" of the chosen language file, and the page names
// and a few shared words from the sections the rest of the program uses. A key missing from
// the chosen file falls back to the English file, so a half-translated file still gives a
// readable report.

#include <QtCore/QString>
#include <string>
#include <string_view>

#include "language/Language.h"

namespace vesk::report {

class ReportTexts {
 public:
  // Loads program folder + "/Language/" + name + ".lng" and the English file beside it.
  // False when neither can be read.
  [[nodiscard]] bool Load(const std::string& languageName);
  // Section "Report".
  QString T(std::string_view key) const { return Tx("Report", key); }
  QString Tx(std::string_view section, std::string_view key) const;
  // T(key) with %1, %2 ... replaced in order.
  QString F(std::string_view key, const QString& a) const { return T(key).arg(a); }
  QString F(std::string_view key, const QString& a, const QString& b) const {
    return T(key).arg(a, b);
  }
  const CLanguage& Language() const { return chosen_; }
  bool IsChinese() const { return chinese_; }

 private:
  CLanguage chosen_, english_;
  bool chinese_ = false;
};

}  // namespace vesk::report
