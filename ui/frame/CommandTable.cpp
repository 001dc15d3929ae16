#include "frame/CommandTable.h"

#include <algorithm>
#include <array>

#include "frame/CommandIds.h"
#include "view/ReportCommands.h"
#include "view/ReviewCommands.h"
#include "view/TableCommand.h"
#include "view/ZavDoc.h"
#include "view/ZavView.h"

namespace vesk {

namespace {

using R = Receiver;
using E = EnableRule;
using T = const CommandTargets&;

constexpr TextRef Menu(const char* key) {
  return {kMenuSetting, key};
}
constexpr TextRef Dialog(const char* key) {
  return {kDialogSetting, key};
}
constexpr TextRef Case(const char* key) {
  return {kCaseSetting, key};
}
constexpr TextRef None() {
  return {};
}

// The commands whose work arrives with the chart, device, case and report windows have no
// action yet; they are listed so that menu, toolbar and enabling already treat them right.
const CommandEntry kCommands[] = {
    {cmd::kOpenData, Menu("IDS_OPEN_DATAS"), "IDS_OPEN_DATA", R::View, E::Always,
     [](T t) { t.view->OnOpenData(); }},
    {cmd::kCopyData, Menu("IDS_COPY_DATA"), nullptr, R::Document, E::Always,
     [](T t) { t.doc->OnCopyData(); }},
    {cmd::kDeleteData, Menu("IDS_DELETE_DATA"), nullptr, R::Document, E::Always,
     [](T t) { t.doc->OnDeleteData(); }},
    {cmd::kExport, Dialog("IDS_DERIVE_DATA"), nullptr, R::View, E::CaseOpen,
     [](T t) { ReportCommands::Of(t.view).OnExport(); }},
    {cmd::kSetConnect, Menu("IDS_SET_CONNECT"), nullptr, R::Document, E::Always,
     [](T t) { t.view->OnSetConnect(); }},
    {cmd::kSwitchUser, Menu("IDS_SWITCH_USER"), nullptr, R::Document, E::Always,
     [](T t) { t.doc->OnSwitchUser(); }},
    {cmd::kExit, Menu("IDS_EXIT"), "IDS_EXIT", R::Document, E::Always,
     [](T t) { t.doc->OnExit(); }},
    {cmd::kCasePath, Menu("IDS_SETFILE_PATH"), nullptr, R::Document, E::Always,
     [](T t) { t.doc->OnSettings(0); }},
    {cmd::kDownload, Menu("IDS_DOWN_LOAD"), "IDS_DOWNLOAD_DATA", R::View, E::Always,
     [](T t) { t.view->OnDownload(); }},
    {cmd::kUpload, Menu("IDS_UPLOAD"), "IDS_UPDATE_DATA", R::View, E::Always,
     [](T t) { t.view->OnUpload(); }},
    {cmd::kReport, Menu("IDS_MENU_PRINT"), "IDS_PRINT", R::View, E::CaseOpen,
     [](T t) { ReportCommands::Of(t.view).OnReport(); }},
    {cmd::kConfigReport, Menu("IDS_CONFIG_REPORT"), nullptr, R::Document, E::Always,
     [](T t) { t.doc->OnSettings(1); }},
    {cmd::kPrintSetup, Menu("IDS_SELECT_PRINT"), nullptr, R::View, E::Always,
     [](T t) { ReportCommands::Of(t.view).OnPrintSetup(); }},
    {cmd::kStatistics, Menu("IDS_LOOK_INFORMATION"), "IDS_STA_MESSAGE", R::View, E::CaseOpen,
     [](T t) { review::OnStatistics(*t.view); }},
    {cmd::kEditData, Menu("IDS_BLOOD_DATAS"), "IDS_EDIT", R::View, E::CaseOpen,
     [](T t) { OnEditData(*t.view); }},
    {cmd::kPatientData, Menu("IDS_PATIENT_DATA"), nullptr, R::View, E::CaseOpen,
     [](T t) { review::OnPatientData(*t.view, t.doc); }},
    {cmd::kSleepTimes, Menu("IDS_SLEEP_TIMES"), nullptr, R::View, E::CaseOpen,
     [](T t) { review::OnSleepTimes(*t.view); }},
    {cmd::kStandardValues, Case("IDS_STANDARD_VALUES_Menu"), nullptr, R::Document, E::Always,
     [](T t) { t.doc->OnSettings(2); }},
    {cmd::kLanguage, Menu("IDS_LANGUAGE"), nullptr, R::Document, E::Always,
     [](T t) { t.doc->OnLanguage(); }},
    {cmd::kSystemSettings, Menu("IDS_SET_SYSTEM"), nullptr, R::Document, E::Always,
     [](T t) { t.doc->OnSystemSettings(); }},
    {cmd::kWear, Menu("IDS_WEAR"), "IDS_ADORN", R::Document, E::Always,
     [](T t) { t.doc->OnWear(); }},
    {cmd::kHelp, Menu("IDS_HELP_DOCUMENT"), "IDS_HELP", R::View, E::Always,
     [](T t) { t.view->OnHelp(); }},
    {cmd::kAbout, Dialog("IDS_ABOULT"), nullptr, R::Application, E::Always,
     [](T t) {
       if (t.app) t.app->OnAbout();
     }},
    {cmd::kBpTrend, None(), "IDS_BLOOD_TREND", R::View, E::CaseOpen,
     [](T t) { t.view->OnChartKind(0); }},
    {cmd::kSpO2Trend, None(), "IDS_OXYGEN_TREND", R::View, E::CaseHasSpO2,
     [](T t) { t.view->OnChartKind(1); }},
    {cmd::kBarGraph, None(), "IDS_BAR_GRAPH", R::View, E::CaseOpen,
     [](T t) { t.view->OnChartKind(2); }},
    {cmd::kPieChart, None(), "IDS_CAKE_MAP", R::View, E::CaseOpen,
     [](T t) { t.view->OnChartKind(3); }},
    {cmd::kCorrelation, None(), "IDS_COM_LINE", R::View, E::CaseOpen,
     [](T t) { t.view->OnChartKind(4); }},
    {cmd::kPlanInfo, None(), "IDS_CON_MESSAGE", R::View, E::CaseOpen,
     [](T t) { review::OnPlanInfo(*t.view); }},
    {cmd::kFilePreview, Menu("IDS_FILE_PREVIEW"), nullptr, R::View, E::CaseOpen, nullptr},
    // Framework commands without a menu item of their own.
    {cmd::kPrint, None(), nullptr, R::View, E::Always, nullptr},
    {cmd::kPrintDirect, None(), nullptr, R::View, E::Always, nullptr},
    {cmd::kPrintPreview, None(), nullptr, R::View, E::Always, nullptr},
    {cmd::kFileNew, None(), nullptr, R::Application, E::Always, nullptr},
    {cmd::kFileOpen, None(), nullptr, R::Application, E::Always, nullptr},
};

constexpr std::array<int, 15> kToolbar = {
    cmd::kWear,      cmd::kUpload,     cmd::kDownload, cmd::kOpenData, cmd::kBpTrend,
    cmd::kSpO2Trend, cmd::kEditData,   cmd::kBarGraph, cmd::kPieChart, cmd::kCorrelation,
    cmd::kReport,    cmd::kStatistics, cmd::kPlanInfo, cmd::kHelp,     cmd::kExit};

}  // namespace

std::span<const CommandEntry> CommandTable() {
  return kCommands;
}

const CommandEntry* FindCommand(int id) {
  auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                         [id](const CommandEntry& e) { return e.id == id; });
  return it == std::end(kCommands) ? nullptr : &*it;
}

bool IsEnabled(EnableRule rule, const CaseFlags& flags) {
  switch (rule) {
    case EnableRule::CaseOpen:
      return flags.caseOpen;
    case EnableRule::CaseHasSpO2:
      return flags.hasSpO2;
    case EnableRule::Always:
      break;
  }
  return true;
}

bool IsCommandEnabled(int id, const CaseFlags& flags) {
  const CommandEntry* e = FindCommand(id);
  return e && IsEnabled(e->rule, flags);
}

std::span<const int> ToolbarCommands() {
  return kToolbar;
}

const std::vector<MenuEntry>& MainMenuLayout() {
  static const std::vector<MenuEntry> layout = {
      {Menu("IDS_FILE"),
       {cmd::kOpenData, cmd::kCopyData, cmd::kDeleteData, cmd::kExport, 0, cmd::kSetConnect, 0,
        cmd::kSwitchUser, 0, cmd::kExit},
       0},
      {Menu("IDS_DOWNLOADING"), {cmd::kCasePath, cmd::kDownload}, 0},
      {None(), {}, cmd::kUpload},
      {Menu("IDS_REPORTS"),
       {cmd::kReport, cmd::kConfigReport, cmd::kPrintSetup, cmd::kStatistics},
       0},
      {Menu("IDS_EDITS"),
       {cmd::kEditData, cmd::kPatientData, cmd::kSleepTimes, cmd::kStandardValues},
       0},
      {None(), {}, cmd::kLanguage},
      {Menu("IDS_SET"), {cmd::kSystemSettings}, 0},
      {Case("IDS_HELPS"), {cmd::kWear, cmd::kHelp, cmd::kAbout}, 0},
  };
  return layout;
}

}  // namespace vesk
