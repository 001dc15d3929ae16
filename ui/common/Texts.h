#pragma once
// Every visible text comes from the loaded language tables; these helpers fetch one as a
// QString and convert between Qt and the UTF-8 strings of the core.

#include <QtCore/QString>
#include <string>
#include <string_view>

namespace vesk {

// The sections of the language files.
inline constexpr const char* kGlobalSetting = "Global Setting";
inline constexpr const char* kMenuSetting = "Menu Setting";
inline constexpr const char* kMessageSetting = "Message Setting";
inline constexpr const char* kDialogSetting = "Dialog Setting";
inline constexpr const char* kCaseSetting = "Case Setting";
inline constexpr const char* kCorreLine = "CorreLine";
inline constexpr const char* kSystemSet = "SystemSet";

// A section and a key of the language tables.
struct TextRef {
  const char* section = nullptr;
  const char* key = nullptr;
  bool empty() const { return key == nullptr; }
};

// The text of g_Language, or the empty text.
QString Tx(std::string_view section, std::string_view key);
inline QString Tx(const TextRef& ref) {
  return ref.empty() ? QString() : Tx(ref.section, ref.key);
}
// The same as UTF-8, for messages handed to the core's message sink.
std::string TxS(std::string_view section, std::string_view key);

inline QString Qs(const std::string& s) {
  return QString::fromStdString(s);
}
inline std::string Ss(const QString& s) {
  return s.toStdString();
}

}  // namespace vesk
