#include "ReportTexts.h"

#include "platform/ProgramDir.h"

namespace vesk::report {

bool ReportTexts::Load(const std::string& languageName) {
  const std::string name = languageName.empty() ? "English" : languageName;
  chinese_ = name == "Chinese";
  const bool english = english_.LoadFile(ProgramPath("\\Language\\English.lng"));
  const bool chosen = chosen_.LoadFile(ProgramPath("\\Language\\" + name + ".lng"));
  return english || chosen;
}

QString ReportTexts::Tx(std::string_view section, std::string_view key) const {
  const std::string& text = chosen_.GetText(section, key);
  return QString::fromStdString(text.empty() ? english_.GetText(section, key) : text);
}

}  // namespace vesk::report
