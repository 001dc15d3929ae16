#include "app/AppInfo.h"

namespace vesk {

namespace {
constexpr std::string_view kRelease = "V5.3.0";
constexpr std::string_view kBuild = "-0000";
constexpr std::string_view kEditionLetter = "-S";
}  // namespace

const std::string g_AppTitle = "VESK";
const std::string g_Version =
    std::string(kRelease) + std::string(kBuild) + std::string(kEditionLetter);
const std::string g_VersionNumber(kRelease);

std::string_view EditionMark(int editionCode) {
  switch (editionCode) {
    case 1:
      return "(C)";
    case 2:
      return "(F)";
    default:
      return "(A)";
  }
}

std::string_view DefaultLanguageForEdition(int editionCode) {
  return editionCode == 1 ? "Chinese" : "English";
}

std::string SerialNumberText(int editionCode) {
  return "SN:" + g_Version + std::string(EditionMark(editionCode));
}

}  // namespace vesk
