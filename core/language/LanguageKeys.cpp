#include "language/LanguageKeys.h"

#include <set>

#include "language/Language.h"

namespace vesk {

const std::vector<LanguageSection>& RequiredLanguageKeys() {
  // clang-format off
  static const std::vector<LanguageSection> sections = {
      {"Global Setting",
       {
        "IDS_ADD_REPORT", "IDS_ADMISSIONNO", "IDS_ADORN", "IDS_AGE", "IDS_AIRPRESSURE_ERROR",
        "IDS_AIR_LEAKAGE", "IDS_AVR_VALUES", "IDS_AWPTOFILEERROR", "IDS_BAR_GRAPH",
        "IDS_BATTERY_LOW", "IDS_BEDNO", "IDS_BLOOD_TREND", "IDS_BPLOADDAY", "IDS_BPLOADNIGHT",
        "IDS_CAKE_MAP", "IDS_CANNOT_CHECK", "IDS_COM_LINE", "IDS_CON_MESSAGE", "IDS_CR_RANGE",
        "IDS_DELETE", "IDS_DELETE_DATA", "IDS_DEPARTMENTNO", "IDS_DERIVEDATAING", "IDS_DOC_ERROR",
        "IDS_DOWNLOADING", "IDS_DOWNLOAD_DATA", "IDS_EDIT", "IDS_EDIT_REPORT", "IDS_EMAIL",
        "IDS_EXC_SPORT", "IDS_EXIT", "IDS_FAILED", "IDS_FINDDEVICE", "IDS_FINDFILEEXIST",
        "IDS_GRAPH_TYPE", "IDS_HELP", "IDS_HOLD_FAULT", "IDS_HP", "IDS_IDLEMESSAGE",
        "IDS_INDICATOR_CAPS", "IDS_INDICATOR_NUM", "IDS_INDICATOR_SCRL", "IDS_INIT_ERROR",
        "IDS_KEY_STOP", "IDS_LOOSE_CUFF", "IDS_LOW_PRESSURE", "IDS_LOW_VALUES", "IDS_MAN",
        "IDS_MAX_VALUES", "IDS_MSG_ERROR", "IDS_MSG_FINISH", "IDS_MSG_ID", "IDS_MSG_NAME",
        "IDS_NAME_EMPTY", "IDS_NOAWPDATA", "IDS_NOSUPPORTFUNCTION", "IDS_OPEN_DATA",
        "IDS_OUTPATIENTNO", "IDS_OVER_PRESSURE", "IDS_OVER_RANGE", "IDS_OXYGEN_TREND",
        "IDS_PLEASE_CHOSE", "IDS_PLUSE_RATE", "IDS_PRINT", "IDS_REGIONERROR", "IDS_REMOTEERROR",
        "IDS_SAVEFILESUCCESS", "IDS_SAVE_FAULT", "IDS_SIGNAL_SATURATION", "IDS_SPO2DATA",
        "IDS_STA_MESSAGE", "IDS_SURE_DELE", "IDS_SYS_ERROR", "IDS_TEST_FAILED", "IDS_TIME_OUT",
        "IDS_TRE_PRESSURE", "IDS_UNABLE_DEL", "IDS_UPDATE_DATA", "IDS_UPLOADING",
        "IDS_UPLOAD_ERROR", "IDS_UPLOAD_FINISH", "IDS_USERALONE", "IDS_WEAK_SIGNAL", "IDS_WOMAN"}},
      {"Menu Setting",
       {
        "IDS_ABOVE", "IDS_ALL", "IDS_ALLUSER", "IDS_BELOW", "IDS_BLOOD", "IDS_BLOOD_DATAS",
        "IDS_COMMENTS", "IDS_CONFIG_REPORT", "IDS_CONTRACT", "IDS_COPY_DATA", "IDS_COUNT",
        "IDS_DATE", "IDS_DAYTIME", "IDS_DELETE_DATA", "IDS_DIFFERENTTIAL_PRESSURE",
        "IDS_DOWNLOADING", "IDS_DOWN_LOAD", "IDS_EDITS", "IDS_EXCLUDED", "IDS_EXIT", "IDS_FILE",
        "IDS_FILE_PREVIEW", "IDS_HEART_RATE", "IDS_HEART_RATE_TREND", "IDS_HELP_DOCUMENT",
        "IDS_HP_COMPRESS", "IDS_LANGUAGE", "IDS_LOOK_INFORMATION", "IDS_MENU_PRINT", "IDS_NIGHT",
        "IDS_NUM", "IDS_OPEN_DATAS", "IDS_PATIENT_DATA", "IDS_READ_PRESS", "IDS_RELAX_PRESS",
        "IDS_REPORTS", "IDS_SELECT_PRINT", "IDS_SET", "IDS_SETFILE_PATH", "IDS_SET_CONNECT",
        "IDS_SET_SYSTEM", "IDS_SHOW", "IDS_SLEEP_TIMES", "IDS_SUM", "IDS_SWITCH_USER",
        "IDS_UPLOAD", "IDS_USER1", "IDS_USER2", "IDS_USER3", "IDS_WEAR"}},
      {"Message Setting",
       {
        "IDS_ALLDATA", "IDS_ASSISITANT_DOCTOR", "IDS_AVEHOURDATA", "IDS_AWAKE", "IDS_BEGIN_KEY",
        "IDS_BEGIN_TIME", "IDS_BIRTH_DATE", "IDS_BP_RECEIVED_VESK", "IDS_BP_RECEIVED_COMMOM",
        "IDS_CANCEL", "IDS_CURRENT_PATH", "IDS_CURRENT_TIME", "IDS_DATACOMMENT", "IDS_DELETE_BTN",
        "IDS_DEL_ALLTHING", "IDS_DEVICE_STATUS", "IDS_DIAGLOSE_INFOR", "IDS_DLG_WEAR",
        "IDS_DOCTOR_DIAGNOSE", "IDS_DOCTOR_INFOR", "IDS_EDIT_PREDATA", "IDS_HOURDATA",
        "IDS_INPUT_USERNAME", "IDS_INTERVALS", "IDS_MAKE_SURE", "IDS_MAUNAL_SET",
        "IDS_MEDICINE_INFO", "IDS_NEED_ATTENTION", "IDS_NEED_COPY", "IDS_NEED_DELETE",
        "IDS_NOTFOUNDDEVICE", "IDS_PATIENTS_ID", "IDS_PATIENTS_NAMES", "IDS_PATIENT_ADDRESS",
        "IDS_PATIENT_HEIGHT", "IDS_PATIENT_INFOR", "IDS_PATIENT_NATION", "IDS_PATIENT_PHONE",
        "IDS_PATIENT_SAVE_ERROR", "IDS_PATIENT_SEX", "IDS_PATIENT_WEIGHT", "IDS_PLEASE_CHOOSE",
        "IDS_PRIMARY_DOCTOR",
        "IDS_SEARCH", "IDS_SEL_OPENDATA", "IDS_SET_LANGUAGE", "IDS_SHOWERRORDATA", "IDS_SLEEP",
        "IDS_SLEEP_PERIOD", "IDS_SPECIAL_BEGIN", "IDS_SPECIAL_FINISH", "IDS_TIME", "IDS_TIMES",
        "IDS_UPLOAD_PARAMETER", "IDS_USER"}},
      {"Dialog Setting",
       {
        "IDS_ABOULT", "IDS_ABOULT_BMP", "IDS_ADDRESS", "IDS_ADULT", "IDS_ALL_INFO",
        "IDS_APPOINT_NAME", "IDS_ASLEEPWARN", "IDS_ASLEEP_AVG_WARN_RANGE",
        "IDS_ASLEEP_DIA_WARN_RANGE", "IDS_ASLEEP_SYS_WARN_RANGE", "IDS_AWAKEWARN",
        "IDS_AWAKE_AVG_WARN_RANGE", "IDS_AWAKE_DIA_WARN_RANGE", "IDS_AWAKE_SYS_WARN_RANGE",
        "IDS_CHILD", "IDS_CONNECT", "IDS_DELETE_USER", "IDS_DEL_ALLUSER", "IDS_DERIVE_DATA",
        "IDS_EDITION", "IDS_HEADING_BP", "IDS_HEADING_COMMENT", "IDS_HEADING_DATE",
        "IDS_HEADING_MAP", "IDS_HEADING_NUM", "IDS_HEADING_PP", "IDS_HEADING_PR",
        "IDS_HEADING_SPO2", "IDS_HEADING_TC", "IDS_HEADING_TIME", "IDS_ID", "IDS_INTERVAL",
        "IDS_LINK_BTH", "IDS_LINK_USB", "IDS_MAXPRESSVALUE", "IDS_MAXVALUE", "IDS_MAXVLAUE",
        "IDS_MEASUREMODE", "IDS_MINS", "IDS_NAME", "IDS_NEONATE", "IDS_NOCASEFILE", "IDS_NONE",
        "IDS_NORECIEVE_DATA", "IDS_NOSLEEP_TIME", "IDS_NOTSHOW", "IDS_PATIENT_TUTELAGE",
        "IDS_SCAN", "IDS_SEARCHNULL", "IDS_SEL_PATH", "IDS_SETLINKWAY", "IDS_SET_CONFIGURATION",
        "IDS_SET_PAT_CONFIGURATION", "IDS_SLEEP_TIME", "IDS_SPECIAL_END", "IDS_SPECIAL_TIME",
        "IDS_START_KEY", "IDS_SWITCH_ON", "IDS_TURN_OFF", "IDS_UPDATE", "IDS_USERINFO",
        "IDS_USER_INFO1", "IDS_USER_INFO2", "IDS_USER_INFO3", "IDS_USER_INFO4", "IDS_USER_INFO5",
        "IDS_USER_INFO6", "IDS_USER_INFO7", "IDS_USE_BLUETOOTH", "IDS_WARNAVG", "IDS_WARNDIA",
        "IDS_WARNSYS", "IDS_WRITE_NAME"}},
      {"Case Setting",
       {
        "IDS_AASI", "IDS_ACQUIESCE_PATH", "IDS_AUTOMATIC", "IDS_BARGRAPH_PAGE", "IDS_BLOOD_REPORT",
        "IDS_BLOOD_TYPE", "IDS_CAKE_PAGE", "IDS_CASE_PATH", "IDS_COMBINE_PAGE",
        "IDS_DEFAULT_VALUES", "IDS_DELETE_REPORT", "IDS_FILE_PATH", "IDS_GRAPH", "IDS_GRAPH_PAGE",
        "IDS_GRAPH_SCALE", "IDS_HELPS", "IDS_HISTOGRAM_REPORT", "IDS_HOURLY_DATA", "IDS_HOURS24",
        "IDS_HOURS48", "IDS_HOURS52", "IDS_LINE_GRAPH", "IDS_LINE_PAGE", "IDS_MEASURE_DATA",
        "IDS_MORNING_SURGE", "IDS_PATIENT_STATISTICS", "IDS_PRINT_PAGE", "IDS_RATE_BARGRAPH",
        "IDS_RATION_REPORT", "IDS_REPORT", "IDS_REPORT_NAME", "IDS_REPORT_TITLE",
        "IDS_SAME_DISPLAY", "IDS_SMOOTH_INDEX", "IDS_STANDARD_VALUES", "IDS_STANDARD_VALUES_Menu",
        "IDS_STRIP_GRAPH", "IDS_SUMMARY_REPORT", "IDS_SUMMARY_STATISTICS", "IDS_THREE_PAGE",
        "IDS_TRENDS_PRESSPAGE", "IDS_TWELFTH_HOUR"}},
      {"CorreLine",
       {
        "IDS_ANALYSIS", "IDS_BP_DAY", "IDS_BP_NIGHT", "IDS_BTH_CLOSED", "IDS_CASE_FILE",
        "IDS_CHECK_ALL_DATA", "IDS_CLOUD_CENTER", "IDS_CORRELATION", "IDS_DESATURATION_LEVEL",
        "IDS_DEVICE", "IDS_DIA", "IDS_DIA_DEPEND", "IDS_DIVIDING_ERROR", "IDS_DROP_EVENT",
        "IDS_DUPLICATE_FORMAT", "IDS_INPUT_RESOLUTION", "IDS_MINIMUM_DURATION",
        "IDS_NOCASE_SELECTED", "IDS_PULSE_RATE", "IDS_RATE_CHANGE", "IDS_REPLACE_CONTINUE",
        "IDS_REPOET_PAGE", "IDS_RESOLUTION_SET", "IDS_SPECIFY_FILE", "IDS_SPO2_DATA",
        "IDS_SPO2_PARAM", "IDS_SPO2_PARAMETER_SET", "IDS_STA_TIME", "IDS_SYS", "IDS_SYS_DEPEND",
        "IDS_TIME_INTERVAL", "IDS_VIEW_TYPE"}},
      {"SystemSet",
       {
        "IDC_CHK_ISOTHEREXE", "IDC_CHK_ISOTHEREXEPDF", "IDC_STC_OTHERINFO", "IDD_DLG_SYSTEMSET",
        "IDS_PATH_NOEXIST", "IDS_PATH_NULL"}},
      {"Title",
       {
        "IDS_TITLE_RPT"}},
  };
  // clang-format on
  return sections;
}

size_t RequiredLanguageKeyCount() {
  size_t n = 0;
  for (const auto& s : RequiredLanguageKeys()) n += s.keys.size();
  return n;
}

LanguageFileCheck CheckLanguageFile(const std::string& path) {
  LanguageFileCheck result;
  CLanguage language;
  result.readable = language.LoadFile(path);
  const auto& tables = language.Tables();

  std::set<std::string, std::less<>> requiredSections;
  for (const auto& section : RequiredLanguageKeys()) {
    requiredSections.emplace(section.name);
    auto table = tables.find(section.name);
    std::set<std::string_view> required(section.keys.begin(), section.keys.end());
    for (std::string_view key : section.keys) {
      if (table == tables.end()) {
        result.missing.push_back({std::string(section.name), std::string(key)});
        continue;
      }
      auto value = table->second.find(key);
      if (value == table->second.end())
        result.missing.push_back({std::string(section.name), std::string(key)});
      else if (value->second.empty())
        result.empty.push_back({std::string(section.name), std::string(key)});
    }
    if (table == tables.end()) continue;
    for (const auto& [key, text] : table->second)
      if (!required.count(key)) result.extra.push_back({std::string(section.name), key});
  }
  for (const auto& [name, table] : tables)
    if (!requiredSections.count(name)) result.extra.push_back({name, ""});
  return result;
}

}  // namespace vesk
