#pragma once
// Constants of the whole process: the program title, the version and the edition.

#include <string>
#include <string_view>

namespace vesk {

// Title of the main window and of most message boxes.
extern const std::string g_AppTitle;
// "V5.3.0-0000-S": release, build number and edition letter.
extern const std::string g_Version;
// The release part alone, shown beside the edition text of the About box.
extern const std::string g_VersionNumber;
// Edition of this build: 1 selects the "(C)" mark and Chinese as the default language,
// 2 the "(F)" mark; any other value the "(A)" mark. Every value but 1 defaults to English.
inline constexpr int g_EditionCode = 2;

std::string_view EditionMark(int editionCode = g_EditionCode);
std::string_view DefaultLanguageForEdition(int editionCode = g_EditionCode);
// "SN:" + version + edition mark, as the About box shows it.
std::string SerialNumberText(int editionCode = g_EditionCode);

}  // namespace vesk
