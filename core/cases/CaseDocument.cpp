#include "cases/CaseDocument.h"

#include <cmath>
#include <memory>

#include "cases/Filemanage.h"
#include "language/Language.h"

namespace vesk {

std::string LanguageErrorTexts::ErrorText(int32_t errorCode) const {
  const char* key = ErrorCodeKey(errorCode);
  if (*key == '\0') return {};
  return language_.GetText("Global Setting", key);
}

CaseDocument::~CaseDocument() = default;

namespace {

// An hour or minute of the special period is "not set" when it holds 255; the fresh plan holds
// -1, which must not turn into minute -61, so anything outside the clock counts as not set.
int32_t SpecialMinute(int32_t& hour, int32_t& minute) {
  const bool unset =
      hour == 255 || minute == 255 || hour < 0 || hour > 23 || minute < 0 || minute > 59;
  if (!unset) return hour * 60 + minute;
  if (hour == 255) hour = -1;
  if (minute == 255) minute = -1;
  return -1;
}

int64_t StampOf(const _BP_RECORD& r) {
  return MinuteStamp(r.year, r.month, r.day, r.hour, r.minute);
}

}  // namespace

void CaseDocument::ClearDerived() {
  spo2Count_ = 0;
  samples_.clear();
  spo2Start_ = OleDateTime{};
  spo2End_ = OleDateTime{};
  lastValid_ = MinuteTime{};
  awakeStart_ = asleepStart_ = 0;
  specialStart_ = specialEnd_ = -1;
  awake_.clear();
  asleep_.clear();
}

void CaseDocument::AdoptCase(CaseDocument&& other) {
  if (&other == this) return;
  state_ = other.state_;
  casePath_ = std::move(other.casePath_);
  loaded_ = other.loaded_;
  file_ = std::move(other.file_);
  patient_ = std::move(other.patient_);
  plan_ = other.plan_;
  bpHead_ = other.bpHead_;
  all_ = std::move(other.all_);
  valid_ = std::move(other.valid_);
  analysed_ = std::move(other.analysed_);
  awake_ = std::move(other.awake_);
  asleep_ = std::move(other.asleep_);
  awakeStart_ = other.awakeStart_;
  asleepStart_ = other.asleepStart_;
  specialStart_ = other.specialStart_;
  specialEnd_ = other.specialEnd_;
  lastValid_ = other.lastValid_;
  samples_ = std::move(other.samples_);
  spo2Count_ = other.spo2Count_;
  spo2Start_ = other.spo2Start_;
  spo2End_ = other.spo2End_;
  multiDay_ = other.multiDay_;
  scheduled_ = other.scheduled_;
  other.casePath_.clear();
  other.loaded_ = {};
  other.file_ = _FILE_ALL_INFO{};
  other.all_.clear();
  other.valid_.clear();
  other.analysed_.clear();
  other.ClearDerived();
}

int32_t CaseDocument::LoadCase() {
  // Taken before reading: a change made during the read then fails the save instead of
  // slipping through.
  const FileStamp stamp = StampFile(casePath_);
  std::unique_ptr<CFilemanage> lib = CFilemanage::CreateFor(casePath_);
  int32_t current = 0, total = 0;
  lib->SetProgressInfo(&current, &total);
  const int32_t loaded = lib->LoadAllInfo();
  if (CaseFileResultOf(loaded) != CaseFileResult::Ok) return loaded;
  _FILE_ALL_INFO& f = lib->FileInfo();
  if (f.locked == 1) return ToInt(CaseLoadResult::Locked);

  scheduled_ = (f.dataMode == 1 || f.dataMode == 2) ? 1 : 0;
  state_.scheduled = scheduled_;

  ClearDerived();
  plan_ = _BP_TRANSPORT_INFO{};
  patient_ = _PATIENT_INFO{};
  state_.deviceType = f.modelCode;
  state_.protocolNumber = f.protocol;
  state_.caseHasSpO2 = 0;

  if (f.dataMode == 2 && f.spo2Head.count() > 0) {
    state_.caseHasSpO2 = 1;
    // The analysis walks the samples by this count, so it never exceeds the samples present.
    const size_t count = std::min(static_cast<size_t>(f.spo2Head.count()), f.samples.size());
    spo2Count_ = static_cast<int32_t>(count);
    const int32_t* h = f.spo2Head.v;
    spo2Start_ = OleDateTime::FromParts(h[1], h[2], h[3], h[4], h[5], h[6]);
    f.samples.resize(count);
    samples_ = std::move(f.samples);
    if (spo2Start_.IsValid() && !samples_.empty())
      spo2End_ = spo2Start_.AddSeconds(samples_.back().offset);
  }
  f.samples.clear();

  if (f.bpHead.count() == 0 && spo2Count_ == 0) return ToInt(CaseLoadResult::NoData);

  patient_ = f.patient;
  plan_ = f.plan;
  awakeStart_ = PlanMinutes(plan_.awakeHour, plan_.awakeMinute);
  asleepStart_ = PlanMinutes(plan_.asleepHour, plan_.asleepMinute);
  state_.awakeStartMinutes = awakeStart_;
  state_.asleepStartMinutes = asleepStart_;

  specialStart_ = SpecialMinute(plan_.specialStartHour, plan_.specialStartMinute);
  specialEnd_ = SpecialMinute(plan_.specialEndHour, plan_.specialEndMinute);
  if (plan_.specialInterval == 255) plan_.specialInterval = 0;

  all_.clear();
  valid_.clear();
  analysed_.clear();
  all_.reserve(f.readings.size());
  for (_BP_RECORD& r : f.readings) {
    if (r.comment.empty()) r.comment = texts_.ErrorText(r.errorCode);
    if (!IsValidReading(r)) r.included = 0;
    all_.push_back(std::move(r));
  }
  f.readings.clear();
  bpHead_ = f.bpHead;
  file_ = std::move(f);
  loaded_ = stamp;

  RebuildLists();

  multiDay_ = 1;
  if (!valid_.empty()) {
    const _BP_RECORD& last = valid_.back();
    lastValid_ = MinuteTime{last.year, last.month, last.day, last.hour, last.minute};
  }
  if (scheduled_ == 1 && IsChronological(valid_)) {
    // Whole minutes between wall-clock fields: daylight-saving changes play no part.
    const double days =
        static_cast<double>(StampOf(valid_.back()) - StampOf(valid_.front())) / 1440.0;
    const double hours = std::floor(days * 24 + 0.000005787);
    if (hours >= 1 && hours <= 72) multiDay_ = 0;
  }
  return ToInt(CaseLoadResult::Ok);
}

void CaseDocument::RebuildLists() {
  valid_.clear();
  analysed_.clear();
  for (const _BP_RECORD& r : all_) {
    if (!IsValidReading(r)) continue;
    valid_.push_back(r);
    if (r.included != 0) analysed_.push_back(r);
  }
}

void CaseDocument::SetSleepPeriods(int32_t awakeStart, int32_t asleepStart) {
  awakeStart_ = awakeStart;
  asleepStart_ = asleepStart;
  state_.awakeStartMinutes = awakeStart;
  state_.asleepStartMinutes = asleepStart;
}

bool CaseDocument::FileChangedSinceLoad() const {
  if (!loaded_.exists) return false;
  const FileStamp now = StampFile(casePath_);
  // A file that is gone is the save's to report as missing.
  return now.exists && now != loaded_;
}

int32_t CaseDocument::SaveEditedCase() {
  return ToInt(SaveEditedCaseWithHistory({}));
}

CaseFileResult CaseDocument::SaveEditedCaseWithHistory(const std::vector<EditEntry>& entries) {
  // Someone else's file is not read for the save at all, so its code is never a parse error.
  if (FileChangedSinceLoad()) return CaseFileResult::Changed;
  std::unique_ptr<CFilemanage> lib = CFilemanage::CreateFor(casePath_);
  int32_t current = 0, total = 0;
  lib->SetProgressInfo(&current, &total);
  SaveGuard guard{loaded_, {}};
  // A document that never loaded its file has nothing to compare with.
  if (loaded_.exists) lib->GuardSave(&guard);
  const CaseFileResult loaded = CaseFileResultOf(lib->LoadBPData());
  if (loaded != CaseFileResult::Ok) return loaded;
  lib->FileInfo().bpHead = bpHead_;
  lib->FileInfo().readings = all_;
  const CaseFileResult saved = CaseFileResultOf(lib->SaveBPDataWithHistory(entries));
  if (saved == CaseFileResult::Ok && guard.written.exists) loaded_ = guard.written;
  return saved;
}

CaseFileResult CaseDocument::SavePatient(const _PATIENT_INFO& info, const EditStamp& stamp) {
  if (FileChangedSinceLoad()) return CaseFileResult::Changed;
  SaveGuard guard{loaded_, {}};
  const CaseFileResult saved = CaseFileResultOf(
      SavePatientInfoWithHistory(casePath_, info, stamp, loaded_.exists ? &guard : nullptr));
  if (saved != CaseFileResult::Ok) return saved;
  if (guard.written.exists) loaded_ = guard.written;
  patient_ = info;
  return CaseFileResult::Ok;
}

}  // namespace vesk
