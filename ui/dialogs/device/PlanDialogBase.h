#pragma once
// What every plan dialog shares: the patient name and ID fields with their byte limits, the
// warning when the recorder cannot show the name, the current time, and OK (checks, the
// Yes/No question, the plan built by the core from the dialog's choices).

#include <QtWidgets/QDialog>

#include "cases/CaseRecord.h"
#include "device/UploadPlanBuilder.h"
#include "language/Language.h"
#include "platform/DateTime.h"
#include "platform/MessageSink.h"
#include "settings/ConfigTypes.h"

class QLabel;
class QLineEdit;
class QGridLayout;
class QComboBox;

namespace vesk {

struct PlanDialogContext {
  const CLanguage& language;
  IMessageSink& sink;
  UserSettings& settings;  // pre-selects the lists; the choices are written back on OK
  DateParts now;           // shown as the current time and sent as the recorder's clock
  int deviceKind = 0;
  int mode = 1;  // MIRU: 1 recording, 2 monitoring
  _UPLOAD_NEEDED_DATA recorder;
};

class PlanDialogBase : public QDialog {
  Q_OBJECT
 public:
  PlanDialogBase(const PlanDialogContext& context, QWidget* parent);
  // The plan confirmed with OK.
  const _BP_TRANSPORT_INFO& Plan() const { return plan_; }
  QLineEdit* NameEdit() const { return name_; }
  QLineEdit* IdEdit() const { return id_; }
  // Shown while the name holds characters the recorder's narrow code page lacks.
  QLabel* NameWarning() const { return nameWarning_; }

 protected:
  // Adds the name, ID and current-time rows (controls named nameId, idId, timeId) at `row`.
  int AddPatientRows(QGridLayout* grid, int row, int nameId, int idId, int timeId);
  // A combo box named by its id holding the texts.
  QComboBox* AddList(int id, const QStringList& entries, int selected);
  QString T(const char* section, const char* key) const;
  // The dialog's choices; the name, ID and clock are filled in already.
  virtual void FillOptions(UploadPlanOptions& options) const = 0;
  // The list indexes back into the settings.
  virtual void StoreSettings() const = 0;
  // The recorder's clock (the simple dialog takes it from its pickers).
  virtual DateParts Clock() const { return context_.now; }
  void AddOkCancel(QGridLayout* grid, int row, int columns);

  PlanDialogContext context_;

 private:
  void OnOk();
  void OnNameEdited(const QString& text);
  void OnIdEdited(const QString& text);

  QLineEdit* name_ = nullptr;
  QLineEdit* id_ = nullptr;
  QLabel* nameWarning_ = nullptr;
  _BP_TRANSPORT_INFO plan_;
};

// The texts "00:00".."23:30" and the interval entries ("IDS_NONE", "5" + "IDS_MINS", ...).
QStringList TimeEntries();
QStringList IntervalEntries(const CLanguage& language);

}  // namespace vesk
