#include "view/CaseEditing.h"

#include <QtCore/QDateTime>

#include "cases/CaseDocument.h"
#include "cases/CaseLock.h"
#include "common/UiMessages.h"
#include "language/Language.h"
#include "view/CaseSession.h"
#include "view/ZavView.h"

namespace vesk {

namespace {

std::string LockHolderText(const CaseLockResult& r) {
  if (r.owner.host.empty()) return r.staleReason;
  std::string text =
      r.owner.user + "@" + r.owner.host + ", " +
      QDateTime::fromSecsSinceEpoch(r.owner.since).toString("yyyy-MM-dd HH:mm").toStdString();
  if (!r.staleReason.empty()) text += " (" + r.staleReason + ")";
  return text;
}

}  // namespace

bool LockCaseForEditing(const std::string& path, const CLanguage& language, CaseLock& lock) {
  LockSighting seen;
  CaseLockResult r = lock.Acquire(path, {}, &seen);
  if (r.state == LockState::Stale) {
    // Left by a program that ended: take it over only when the user says so.
    if (!AskYesNo(language.GetText("Dialog Setting", "IDS_CASE_LOCK_STALE") + "\n" +
                  LockHolderText(r) + "\n" + path))
      return false;
    r = lock.TakeOver(path, seen);
  }
  if (r.state == LockState::Taken) return true;
  if (r.state == LockState::HeldByOther)
    ShowBox(language.GetText("Dialog Setting", "IDS_CASE_LOCKED") + "\n" + LockHolderText(r) +
                "\n" + path,
            MessageIcon::Warning);
  else if (r.state == LockState::Error)
    ShowBox(
        language.GetText("Dialog Setting", "IDS_CASE_LOCK_FAILED") + "\n" + r.error + "\n" + path,
        MessageIcon::Warning);
  return false;
}

bool ReopenIfChangedElsewhere(CZavView& view) {
  const CaseDocument& doc = view.Session().Document();
  if (!doc.FileChangedSinceLoad()) return true;
  const std::string path = doc.CasePath();  // the document is replaced by the opening
  return view.OpenCase(path) == ToInt(CaseLoadResult::Ok);
}

void ReopenChangedCase(CZavView& view, const CLanguage& language) {
  const std::string path = view.Session().Document().CasePath();
  ShowBox(language.GetText("Dialog Setting", "IDS_CASE_CHANGED") + "\n" + path,
          MessageIcon::Warning);
  view.OpenCase(path);
}

EditStamp EditStampNow(const std::string& user) {
  return {user, QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss").toStdString()};
}

}  // namespace vesk
