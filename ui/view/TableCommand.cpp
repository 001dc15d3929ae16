#include "view/TableCommand.h"

#include <QtCore/QFileInfo>
#include <QtWidgets/QPushButton>

#include "analysis/ReadingTable.h"
#include "cases/CaseDocument.h"
#include "cases/CaseLock.h"
#include "cases/Filemanage.h"
#include "charts/ChartWidget.h"
#include "common/Globals.h"
#include "common/UiMessages.h"
#include "dialogs/table/DataTableDialog.h"
#include "view/CaseEditing.h"
#include "view/CaseSession.h"
#include "view/ZavView.h"

namespace vesk {

std::string TableSaveFailureText(const CLanguage& language, CaseFileResult result,
                                 const std::string& path, bool historyDamaged) {
  std::string text = language.GetText("Dialog Setting", "IDS_SAVE_CASE_FAILED");
  std::string reason;
  if (result == CaseFileResult::ReadOnly)
    reason = language.GetText("Dialog Setting", "IDS_CASE_READONLY");
  else if (result == CaseFileResult::CannotOpen)
    reason = language.GetText("Dialog Setting", "IDS_CASE_MISSING");
  else if (historyDamaged &&
           (result == CaseFileResult::BadCount || result == CaseFileResult::BadValue ||
            result == CaseFileResult::Missing))
    reason = language.GetText("Dialog Setting", "IDS_HISTORY_DAMAGED");
  else
    reason = CaseFileResultText(result);
  return text + "\n" + reason + "\n" + path;
}

void OnEditData(CZavView& view) {
  CaseSession& session = view.Session();
  if (!session.Info().open) return;
  CaseDocument& doc = session.Document();
  const CLanguage& language = g_Language;
  const bool chinese = IsChineseLanguage(
      QFileInfo(QString::fromStdString(language.FilePath())).baseName().toStdString());

  // Another workstation may edit the same case on a shared folder: without the lock the
  // table is only for viewing.
  CaseLock lock;
  const bool editable = LockCaseForEditing(doc.CasePath(), language, lock);
  if (editable && !ReopenIfChangedElsewhere(view)) return;

  DataTableHistory history;
  history.readable = CaseFileResultOf(CFilemanage::LoadEditHistory(
                         doc.CasePath(), history.entries)) == CaseFileResult::Ok;
  const bool historyDamaged = !history.readable;
  const std::string user = g_Config ? g_Config->currentConfigName : std::string();

  bool saved = false;
  bool changedElsewhere = false;
  QDialog* shown = nullptr;
  auto confirm = [&](const ReadingTable& table) {
    const CaseFileResult rc = SaveTableToCase(doc, table, EditStampNow(user));
    if (rc == CaseFileResult::Changed) {
      // The table holds the readings of a file that is no longer there: saving again cannot
      // work, so the table closes and the case is opened as it is now.
      changedElsewhere = true;
      if (shown) shown->reject();
      return false;
    }
    if (rc != CaseFileResult::Ok) {
      ShowBox(TableSaveFailureText(language, rc, doc.CasePath(), historyDamaged),
              MessageIcon::Error);
      return false;
    }
    saved = true;
    return true;
  };
  DataTableDialog dialog(doc.AllReadings(), std::move(history), language, chinese, confirm, &view);
  shown = &dialog;
  if (!editable)
    if (auto* ok = dialog.findChild<QPushButton*>("1054")) ok->setEnabled(false);
  const int answer = dialog.exec();
  if (changedElsewhere) {
    ReopenChangedCase(view, language);
    return;
  }
  if (answer != QDialog::Accepted || !saved) return;
  session.Reanalyse({Period(view.SelectedPeriod()), view.FieldLimits()});
  if (view.Charts()) view.Charts()->refresh(true);
  view.update();
}

}  // namespace vesk
