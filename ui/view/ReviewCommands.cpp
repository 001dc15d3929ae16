#include "view/ReviewCommands.h"

#include <QtCore/QDate>
#include <QtWidgets/QPushButton>

#include "analysis/StatisticsTable.h"
#include "cases/CaseDocument.h"
#include "cases/CaseLock.h"
#include "cases/Filemanage.h"
#include "cases/PatientData.h"
#include "cases/PlanLines.h"
#include "common/Globals.h"
#include "common/Texts.h"
#include "common/UiMessages.h"
#include "dialogs/review/PatientSheet.h"
#include "dialogs/review/PlanView.h"
#include "dialogs/review/SleepPeriodDialog.h"
#include "dialogs/review/StatisticsDialog.h"
#include "view/CaseEditing.h"
#include "view/CaseSession.h"
#include "view/ZavView.h"

namespace vesk::review {

namespace {

bool CaseOpen(CZavView& view) {
  return view.Session().Info().open;
}

}  // namespace

std::function<DateParts()>& Today() {
  static std::function<DateParts()> today = [] {
    const QDate d = QDate::currentDate();
    DateParts p;
    p.year = d.year();
    p.month = d.month();
    p.day = d.day();
    return p;
  };
  return today;
}

void OnStatistics(CZavView& view) {
  if (!CaseOpen(view)) return;
  // The record follows every analysis of the case; thresholds changed since the case was
  // opened are taken up first, so the window never shows loads of the old ones.
  if (g_Config && view.Session().ChangeThresholds(g_Config->settings.GetThresholds(),
                                                  view.CurrentAnalysisView()))
    view.ShowChangedAnalysis();
  const CaseFigures& figures = view.Session().Analysis().Figures();
  StatisticsDialog dialog(FormatStatisticsTable(figures.statistics, figures.thresholds), g_Language,
                          view.window());
  dialog.exec();
}

void OnPatientData(CZavView& view, const CZavDoc* doc) {
  if (!CaseOpen(view)) return;
  if (!doc) {
    ShowBox(TxS(kGlobalSetting, "IDS_DOC_ERROR"), MessageIcon::Error);
    return;
  }
  const std::string path = view.Session().Info().path;
  // The same editing lock as the data table: without it the sheet is only for viewing.
  CaseLock lock;
  const bool editable = LockCaseForEditing(path, g_Language, lock);
  if (editable && !ReopenIfChangedElsewhere(view)) return;
  _PATIENT_INFO info;
  if (LoadCasePatient(path, info) != CaseFileResult::Ok) {
    ShowBox(TxS(kCorreLine, "IDS_CASE_FILE") + "\n" + path, MessageIcon::Error);
    return;
  }
  PatientSheet sheet(info, ReadBirthdayMarker(path), Today()(), g_Language, view.window());
  if (!editable)
    if (auto* ok = sheet.findChild<QPushButton*>("1")) ok->setEnabled(false);
  if (sheet.exec() != QDialog::Accepted || !editable) return;
  // The file first: the open case shows the new data only once they are stored.
  // Who changed the patient data, and when, goes into the file's edit history with the data.
  const std::string user = g_Config ? g_Config->currentConfigName : std::string();
  const CaseFileResult saved =
      view.Session().Document().SavePatient(sheet.Patient(), EditStampNow(user));
  if (saved == CaseFileResult::Changed) {
    ReopenChangedCase(view, g_Language);
    return;
  }
  if (saved != CaseFileResult::Ok) {
    ShowBox(TxS(kMessageSetting, "IDS_PATIENT_SAVE_ERROR") + "\n" + path, MessageIcon::Error);
    return;
  }
  view.ShowPatient();
}

void OnSleepTimes(CZavView& view) {
  if (!CaseOpen(view)) return;
  CaseSession& session = view.Session();
  const CaseDocument& doc = session.Document();
  SleepPeriodDialog dialog(doc.AwakeStart(), doc.AsleepStart(), g_Language, view.window());
  if (dialog.exec() != QDialog::Accepted) return;
  if (session.ChangeSleepPeriods(dialog.AwakeStart(), dialog.AsleepStart(),
                                 view.CurrentAnalysisView()) != 1)
    return;
  view.ShowChangedAnalysis();
}

void OnPlanInfo(CZavView& view) {
  if (!CaseOpen(view)) {
    ShowBox(TxS(kCorreLine, "IDS_NOCASE_SELECTED"), MessageIcon::Warning);
    return;
  }
  const CaseDocument& doc = view.Session().Document();
  PlanView dialog(PlanLines(doc.Plan(), doc.ModelCode(), doc.FileInfo().protocol), g_Language,
                  view.window());
  dialog.exec();
}

}  // namespace vesk::review
