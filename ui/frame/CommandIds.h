#pragma once
// Command ids of the menu, the toolbar and the main view's controls. The numbers are those
// older releases used, so the layout tables and stored layouts keep matching.

namespace vesk::cmd {

inline constexpr int kCopyData = 32771;
inline constexpr int kDeleteData = 32772;
inline constexpr int kFilePreview = 32773;
inline constexpr int kConfigReport = 32774;
inline constexpr int kPatientData = 32775;
inline constexpr int kStandardValues = 32776;
inline constexpr int kLanguage = 32777;
inline constexpr int kCasePath = 32778;
inline constexpr int kExit = 32779;
inline constexpr int kWear = 32780;
inline constexpr int kHelp = 32781;
inline constexpr int kSwitchUser = 32784;
inline constexpr int kSleepTimes = 32800;
inline constexpr int kUpload = 32801;
inline constexpr int kSetConnect = 32806;
inline constexpr int kExport = 32807;
inline constexpr int kSystemSettings = 32810;
inline constexpr int kDownload = 32812;
inline constexpr int kOpenData = 32901;
inline constexpr int kSpO2Trend = 32902;
inline constexpr int kBpTrend = 32903;
inline constexpr int kEditData = 32904;
inline constexpr int kBarGraph = 32905;
inline constexpr int kPieChart = 32906;
inline constexpr int kCorrelation = 32907;
inline constexpr int kReport = 32908;
inline constexpr int kStatistics = 32909;
inline constexpr int kPlanInfo = 32910;
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintDirect = 57608;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kAbout = 57664;

// The private frame message that opens a case (WM_USER + 5000 of older releases).
inline constexpr int kOpenDataMessage = 0x0400 + 5000;

}  // namespace vesk::cmd
