#include "view/CaseEditing.h"

#include "cases/CaseDocument.h"
#include "common/UiMessages.h"
#include "language/Language.h"
#include "view/CaseSession.h"
#include "view/ZavView.h"

namespace vesk {

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

}  // namespace vesk
