#include "common/Texts.h"

#include "common/Globals.h"

namespace vesk {

// Every caption comes from the one loaded language, and a language change re-texts every
// window, so the captions are looked up here rather than in a language handed to each window.
QString Tx(std::string_view section, std::string_view key) {
  return QString::fromStdString(g_Language.GetText(section, key));
}

std::string TxS(std::string_view section, std::string_view key) {
  return g_Language.GetText(section, key);
}

}  // namespace vesk
