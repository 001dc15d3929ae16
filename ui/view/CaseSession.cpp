#include "view/CaseSession.h"

#include "cases/CaseState.h"
#include "device/DeviceCaseDocument.h"

namespace vesk {

struct CaseSession::Impl {
  explicit Impl(const CLanguage& l) : language(l), texts(l), doc(state, texts, l) {}
  const CLanguage& language;
  CaseState state;
  LanguageErrorTexts texts;
  DeviceCaseDocument doc;
  CaseAnalysis analysis;
  Thresholds thresholds;
};

namespace {
// The analysis and the charts (through the case state) read the same thresholds.
template <typename Impl>
void SetThresholds(Impl& impl, const Thresholds& t) {
  impl.thresholds = t;
  impl.state.awakeSysThresh = t.awakeSys;
  impl.state.awakeDiaThresh = t.awakeDia;
  impl.state.asleepSysThresh = t.asleepSys;
  impl.state.asleepDiaThresh = t.asleepDia;
}
}  // namespace

CaseSession::CaseSession(const CLanguage& language) : impl_(std::make_unique<Impl>(language)) {}
CaseSession::~CaseSession() = default;

CaseDocument& CaseSession::Document() {
  return impl_->doc;
}

CaseAnalysis& CaseSession::Analysis() {
  return impl_->analysis;
}

const CaseState& CaseSession::State() const {
  return impl_->state;
}

int32_t CaseSession::Open(const std::string& path, const Thresholds& thresholds,
                          const EventParams& spo2Params, const EventParams& prParams) {
  // A failed load must not disturb the case on screen, so it goes into a scratch document.
  // The session's own document stays: it also holds the recorder link, which must outlive the
  // case (a download opens its new case while the recorder is still attached).
  CaseState scratchState;
  CaseDocument scratch(scratchState, impl_->texts);
  scratch.SetCasePath(path);
  const int32_t result = scratch.LoadCase();
  if (result != 1) return result;
  impl_->doc.AdoptCase(std::move(scratch));
  SetThresholds(*impl_, thresholds);
  impl_->analysis = CaseAnalysis{};
  RunOpenAnalysis(impl_->doc, impl_->thresholds, RangeLimits{}, spo2Params, prParams,
                  impl_->analysis);

  const CaseDocument& doc = impl_->doc;
  info_ = {};
  info_.open = true;
  info_.hasSpO2 = !doc.Spo2Samples().empty();
  info_.deviceType = doc.ModelCode();
  info_.protocol = doc.FileInfo().protocol;
  info_.scheduled = doc.Scheduled();
  info_.awakeStart = doc.AwakeStart();
  info_.asleepStart = doc.AsleepStart();
  info_.multiDay = doc.MultiDay() != 0;
  info_.path = path;
  info_.name = doc.Patient().name;
  info_.caseId = doc.Patient().caseId;
  info_.age = doc.Patient().age;
  info_.readingCount = int32_t(doc.AllReadings().size());
  info_.analysedCount = impl_->analysis.statistics.analysedCount;
  return result;
}

void CaseSession::Reanalyse(const AnalysisView& view) {
  if (!info_.open) return;
  vesk::Reanalyse(impl_->doc, impl_->thresholds, view, impl_->analysis);
  info_.analysedCount = impl_->analysis.statistics.analysedCount;
  info_.readingCount = int32_t(impl_->doc.AllReadings().size());
}

int CaseSession::ChangeSleepPeriods(int awakeStart, int asleepStart, const AnalysisView& view) {
  if (!info_.open) return 0;
  if (vesk::ChangeSleepPeriods(impl_->doc, awakeStart, asleepStart, impl_->thresholds, view,
                               impl_->analysis) != 1)
    return 0;
  info_.awakeStart = impl_->doc.AwakeStart();
  info_.asleepStart = impl_->doc.AsleepStart();
  info_.analysedCount = impl_->analysis.statistics.analysedCount;
  return 1;
}

bool CaseSession::ChangeThresholds(const Thresholds& thresholds, const AnalysisView& view) {
  if (!info_.open || thresholds == impl_->thresholds) return false;
  SetThresholds(*impl_, thresholds);
  Reanalyse(view);
  return true;
}

void CaseSession::Close() {
  CaseState emptyState;
  CaseDocument empty(emptyState, impl_->texts);
  impl_->doc.AdoptCase(std::move(empty));
  impl_->analysis = CaseAnalysis{};
  info_ = {};
}

DeviceCaseDocument& CaseSession::Device() {
  return impl_->doc;
}

}  // namespace vesk
