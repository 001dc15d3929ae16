#include "analysis/ReadingTable.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "cases/CaseDocument.h"
#include "cases/Filemanage.h"

namespace vesk {

namespace {

std::string Format(const char* fmt, auto... args) {
  char buf[128];
  std::snprintf(buf, sizeof buf, fmt, args...);
  return buf;
}

std::string ValueOrDashes(int v) {
  return v < 1 ? std::string("---") : std::to_string(v);
}

bool HasValidTime(const _BP_RECORD& r) {
  return IsValidDate(r.year, r.month, r.day, r.hour, r.minute, 0);
}

int64_t StampOf(const _BP_RECORD& r) {
  return MinuteStamp(r.year, r.month, r.day, r.hour, r.minute);
}

void SetStamp(_BP_RECORD& r, int64_t stamp) {
  const int64_t days = stamp >= 0 ? stamp / 1440 : -((-stamp + 1439) / 1440);
  const int64_t minutes = stamp - days * 1440;
  int y, mo, d;
  CivilFromDays(days, y, mo, d);
  r.year = y;
  r.month = static_cast<int16_t>(mo);
  r.day = static_cast<int16_t>(d);
  r.hour = static_cast<int16_t>(minutes / 60);
  r.minute = static_cast<int16_t>(minutes % 60);
}

// Readings whose time cannot be taken as it is keep it; the rest move by the minutes.
void Shift(_BP_RECORD& r, int64_t minutes) {
  if (minutes != 0 && HasValidTime(r)) SetStamp(r, StampOf(r) + minutes);
}

bool InPickerRange(int year, int month, int day, int hour, int minute, int second) {
  return year >= kFirstPickerYear && year <= kLastPickerYear &&
         IsValidDate(year, month, day, hour, minute, second);
}

ReadingInput InputOf(const _BP_RECORD& r) {
  ReadingInput in;
  in.sys = r.sys;
  in.dia = r.dia;
  in.map = r.map;
  in.pr = r.pr;
  in.year = r.year;
  in.month = r.month;
  in.day = r.day;
  in.hour = r.hour;
  in.minute = r.minute;
  in.second = r.seconds;
  in.comment = r.comment;
  return in;
}

void ApplyInput(_BP_RECORD& r, const ReadingInput& in) {
  r.sys = in.sys;
  r.dia = static_cast<int16_t>(in.dia);
  r.map = static_cast<int16_t>(in.map);
  r.pr = static_cast<int16_t>(in.pr);
  r.year = in.year;
  r.month = static_cast<int16_t>(in.month);
  r.day = static_cast<int16_t>(in.day);
  r.hour = static_cast<int16_t>(in.hour);
  r.minute = static_cast<int16_t>(in.minute);
  r.seconds = static_cast<int16_t>(in.second);
  r.comment = in.comment;
  if (!IsValidReading(r)) r.included = 0;
}

// The editor's pressure fields hold what the record's fields can carry.
ReadingInput Clamped(ReadingInput in) {
  in.sys = std::clamp(in.sys, 0, 32767);
  in.dia = std::clamp(in.dia, 0, 32767);
  in.map = std::clamp(in.map, 0, 32767);
  in.pr = std::clamp(in.pr, 0, 32767);
  return in;
}

bool SameMeasurement(const _BP_RECORD& a, const _BP_RECORD& b) {
  return a.sys == b.sys && a.dia == b.dia && a.map == b.map && a.pr == b.pr && a.year == b.year &&
         a.month == b.month && a.day == b.day && a.hour == b.hour && a.minute == b.minute &&
         a.seconds == b.seconds;
}

}  // namespace

std::string PulsePressureText(const _BP_RECORD& r) {
  if (r.sys > 0 && r.dia > 0 && r.dia < r.map && r.map < r.sys)
    return std::to_string(r.sys - r.dia);
  return "---";
}

std::string ReadingNumberText(const _BP_RECORD& r) {
  std::string s = std::to_string(static_cast<int64_t>(r.index) + 1);
  if (r.mark == 1) s += "+";
  if (r.mark == 2) s += "++";
  return s;
}

RowCells ReadingCells(const _BP_RECORD& r) {
  RowCells c;
  c[0] = r.included == 0 ? "*" : "";
  c[1] = ReadingNumberText(r);
  c[2] = Format("%02d:%02d", r.hour, r.minute);
  c[3] = Format("%02d-%02d-%d", r.day, r.month, r.year);
  c[4] = (r.sys < 1 ? std::string("---") : std::to_string(r.sys)) + "/" + ValueOrDashes(r.dia);
  c[5] = ValueOrDashes(r.pr);
  c[6] = ValueOrDashes(r.map);
  c[7] = PulsePressureText(r);
  c[8] = r.spo2 >= 1 && r.spo2 <= 99 ? std::to_string(r.spo2) : std::string("---");
  c[9] = Format("%d(%d)", r.errorCode, r.secondCode);
  c[10] = r.comment;
  return c;
}

RowCells AveragedCells(const AveragedPeriod& p) {
  RowCells c;
  const int end = p.hour * 60 + p.minute + p.lengthMinutes;
  c[2] = Format("%02d:%02d-%02d:%02d", p.hour, p.minute, (end / 60) % 24, end % 60);
  c[3] = Format("%02d-%02d-%04d", p.day, p.month, p.year);
  c[4] = Format("%.1f/%.1f", p.sys, p.dia);
  c[5] = Format("%.1f", p.pr);
  c[6] = Format("%.1f", p.map);
  c[7] = Format("%.1f", p.sys - p.dia);
  c[8] = Format("%.1f", p.spo2);
  return c;
}

std::string ExclusionSummary(int excluded, int total) {
  const double percent = total > 0 ? 100.0 * excluded / total : 0.0;
  return Format("*=%d/%d(%.1f%s)", excluded, total, percent, "%");
}

PressureCheck CheckPressures(const ReadingInput& in) {
  if (in.map >= in.sys) return PressureCheck::MapNotBelowSys;
  if (in.map <= in.dia) return PressureCheck::MapNotAboveDia;
  return PressureCheck::Ok;
}

const char* FixedTextOf(FixedText text, bool chinese) {
  switch (text) {
    case FixedText::SelectRowFirst:
      return chinese ? "请首先选中一行。" : "Please select a row first.";
    case FixedText::EditTitle:
      return chinese ? "编辑血压数据" : "Edit Blood Pressure Reading";
    case FixedText::AddTitle:
      return chinese ? "增加血压数据" : "Add Blood Pressure Reading";
    case FixedText::MapNotBelowSys:
      return chinese ? "收缩压值不应小于平均压值，请重新填写。"
                     : "The systolic pressure must be above the mean pressure. Please enter it "
                       "again.";
    case FixedText::MapNotAboveDia:
      return chinese ? "平均压值不应小于舒张压值，请重新填写。"
                     : "The mean pressure must be above the diastolic pressure. Please enter it "
                       "again.";
  }
  return "";
}

bool IsChineseLanguage(std::string_view name) {
  constexpr std::string_view kChinese = "chinese";
  if (name.size() != kChinese.size()) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(name[i])) != kChinese[i]) return false;
  return true;
}

ReadingTable::ReadingTable(std::vector<_BP_RECORD> readings)
    : original_(readings), readings_(std::move(readings)) {
  origin_.resize(readings_.size());
  for (size_t i = 0; i < origin_.size(); ++i) origin_[i] = static_cast<int32_t>(i);
  Refill();
}

void ReadingTable::SetView(TableView view) {
  view_ = view;
  if (view_ == TableView::Averages) showExcluded_ = false;
  Refill();
}

void ReadingTable::SetShowExcluded(bool show) {
  showExcluded_ = view_ == TableView::Averages ? false : show;
  Refill();
}

void ReadingTable::SetInterval(int minutes) {
  interval_ = minutes;
  Refill();
}

void ReadingTable::Refill() {
  rows_.clear();
  if (view_ == TableView::Averages)
    FillAverages();
  else
    FillReadings();
}

void ReadingTable::FillReadings() {
  rows_.reserve(readings_.size());
  walked_ = 0;
  excluded_ = 0;
  const _BP_RECORD* lastShown = nullptr;
  for (size_t i = 0; i < readings_.size(); ++i) {
    const _BP_RECORD& r = readings_[i];
    if (view_ == TableView::PerHour) {
      if (!HasValidTime(r)) continue;
      // The first reading of each clock hour stands for the hour.
      if (lastShown && lastShown->hour == r.hour && lastShown->day == r.day &&
          lastShown->month == r.month)
        continue;
    }
    ++walked_;
    if (r.included == 0) ++excluded_;
    if (!showExcluded_ && r.included == 0) continue;
    rows_.push_back(TableRow{static_cast<int32_t>(i), ReadingCells(r)});
    lastShown = &r;
  }
  heading_ = ExclusionSummary(excluded_, walked_);
}

void ReadingTable::FillAverages() {
  std::vector<_BP_RECORD> analysed;
  for (const _BP_RECORD& r : readings_)
    if (r.included != 0 && IsValidReading(r)) analysed.push_back(r);
  const std::vector<AveragedPeriod> periods = AverageByPeriod(analysed, interval_);
  rows_.reserve(periods.size());
  for (const AveragedPeriod& p : periods) rows_.push_back(TableRow{-1, AveragedCells(p)});
  excluded_ = 0;
  walked_ = static_cast<int>(rows_.size());
  heading_ = Format("*=0/%d(0.0%s)", static_cast<int>(rows_.size()), "%");
}

int ReadingTable::ReadingOfRow(int row) const {
  if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return -1;
  return rows_[row].reading;
}

int ReadingTable::RowOfReading(int reading) const {
  for (size_t i = 0; i < rows_.size(); ++i)
    if (rows_[i].reading == reading) return static_cast<int>(i);
  return -1;
}

bool ReadingTable::ToggleExclusion(int row) {
  const int pos = ReadingOfRow(row);
  if (pos < 0) return false;
  _BP_RECORD& r = readings_[pos];
  if (r.included == 0) {
    if (!IsValidReading(r)) return false;
    r.included = 1;
    --excluded_;
  } else {
    r.included = 0;
    ++excluded_;
  }
  rows_[row].cells[0] = r.included == 0 ? "*" : "";
  heading_ = ExclusionSummary(excluded_, walked_);
  return true;
}

bool ReadingTable::SetComment(int row, const std::string& comment) {
  const int pos = ReadingOfRow(row);
  if (pos < 0) return false;
  if (readings_[pos].comment == comment) return false;
  readings_[pos].comment = comment;
  rows_[row].cells[10] = comment;
  return true;
}

ReadingInput ReadingTable::EditProposal(int row) const {
  const int pos = ReadingOfRow(row);
  if (pos < 0) return {};
  ReadingInput in = InputOf(readings_[pos]);
  if (!InPickerRange(in.year, in.month, in.day, in.hour, in.minute, in.second)) {
    ReadingInput fallback;
    for (const _BP_RECORD& r : readings_) {
      if (InPickerRange(r.year, r.month, r.day, r.hour, r.minute, 0)) {
        fallback = InputOf(r);
        fallback.second = 0;
        break;
      }
    }
    in.year = fallback.year, in.month = fallback.month, in.day = fallback.day;
    in.hour = fallback.hour, in.minute = fallback.minute, in.second = fallback.second;
  }
  return in;
}

ReadingInput ReadingTable::AddProposal(int row) const {
  int pos = ReadingOfRow(row);
  if (pos < 0) pos = static_cast<int>(readings_.size()) - 1;
  ReadingInput in;
  if (pos < 0) return in;
  _BP_RECORD next = readings_[pos];
  if (HasValidTime(next)) SetStamp(next, StampOf(next) + 1);
  in = InputOf(next);
  in.comment.clear();
  if (!InPickerRange(in.year, in.month, in.day, in.hour, in.minute, in.second)) {
    const ReadingInput fallback = EditProposal(RowOfReading(pos));
    in.year = fallback.year, in.month = fallback.month, in.day = fallback.day;
    in.hour = fallback.hour, in.minute = fallback.minute, in.second = fallback.second;
  }
  return in;
}

int ReadingTable::PlaceByTime(size_t pos) {
  const _BP_RECORD& moved = readings_[pos];
  if (!HasValidTime(moved)) return static_cast<int>(pos);
  // Only a list that is otherwise in time order has a place in time to keep.
  const _BP_RECORD* prev = nullptr;
  for (size_t i = 0; i < readings_.size(); ++i) {
    if (i == pos) continue;
    const _BP_RECORD& r = readings_[i];
    if (!HasValidTime(r)) return static_cast<int>(pos);
    if (prev && StampOf(r) < StampOf(*prev)) return static_cast<int>(pos);
    prev = &r;
  }
  _BP_RECORD r = std::move(readings_[pos]);
  const int32_t origin = origin_[pos];
  readings_.erase(readings_.begin() + static_cast<std::ptrdiff_t>(pos));
  origin_.erase(origin_.begin() + static_cast<std::ptrdiff_t>(pos));
  const int64_t stamp = StampOf(r);
  size_t at = 0;
  while (at < readings_.size() && StampOf(readings_[at]) <= stamp) ++at;
  readings_.insert(readings_.begin() + static_cast<std::ptrdiff_t>(at), std::move(r));
  origin_.insert(origin_.begin() + static_cast<std::ptrdiff_t>(at), origin);
  return static_cast<int>(at);
}

int ReadingTable::ReplaceReading(int row, const ReadingInput& in) {
  const int pos = ReadingOfRow(row);
  if (!EditingAllowed() || pos < 0) return -1;
  ApplyInput(readings_[pos], Clamped(in));
  const int at = PlaceByTime(static_cast<size_t>(pos));
  Refill();
  return RowOfReading(at);
}

int ReadingTable::AddReading(int row, const ReadingInput& in) {
  if (!EditingAllowed()) return -1;
  int pos = ReadingOfRow(row);
  if (row >= 0 && pos < 0) return -1;
  const size_t at = pos < 0 ? readings_.size() : static_cast<size_t>(pos) + 1;
  _BP_RECORD r;
  int32_t index = -1;
  for (const _BP_RECORD& x : readings_) index = std::max(index, x.index);
  for (const _BP_RECORD& x : original_) index = std::max(index, x.index);
  r.index = std::max(index + 1, indexFloor_);
  r.included = 1;
  ApplyInput(r, Clamped(in));
  readings_.insert(readings_.begin() + static_cast<std::ptrdiff_t>(at), std::move(r));
  origin_.insert(origin_.begin() + static_cast<std::ptrdiff_t>(at), -1);
  const int placed = PlaceByTime(at);
  Refill();
  return RowOfReading(placed);
}

bool ReadingTable::DeleteReading(int row) {
  const int pos = ReadingOfRow(row);
  if (!EditingAllowed() || pos < 0 || readings_.size() <= 1) return false;
  readings_.erase(readings_.begin() + pos);
  origin_.erase(origin_.begin() + pos);
  Refill();
  return true;
}

int ReadingTable::MoveStart(const DateParts& start) {
  if (!IsValidDate(start.year, start.month, start.day, start.hour, start.minute, 0)) return 0;
  const auto first = std::find_if(readings_.begin(), readings_.end(), HasValidTime);
  if (first == readings_.end()) return 0;
  const int64_t delta =
      MinuteStamp(start.year, start.month, start.day, start.hour, start.minute) - StampOf(*first);
  // The moved times must stay within what the record and the pickers can hold.
  for (const _BP_RECORD& r : readings_) {
    if (!HasValidTime(r)) continue;
    _BP_RECORD moved = r;
    SetStamp(moved, StampOf(r) + delta);
    if (moved.year < 100 || moved.year > 9999) return 0;
  }
  for (_BP_RECORD& r : readings_) Shift(r, delta);
  shiftMinutes_ += delta;
  Refill();
  return 1;
}

std::vector<EditEntry> ReadingTable::Changes(const EditStamp& stamp) const {
  std::vector<EditEntry> out;
  auto entry = [&](EditKind kind, int32_t reading, std::string was, std::string now) {
    out.push_back(
        EditEntry{stamp.when, stamp.user, kind, reading, {}, std::move(was), std::move(now)});
  };
  if (shiftMinutes_ != 0) {
    const auto first = std::find_if(original_.begin(), original_.end(), HasValidTime);
    if (first != original_.end()) {
      _BP_RECORD moved = *first;
      Shift(moved, shiftMinutes_);
      entry(EditKind::StartMoved, -1, ReadingTimeText(*first), ReadingTimeText(moved));
    }
  }
  std::vector<bool> kept(original_.size(), false);
  for (size_t i = 0; i < readings_.size(); ++i) {
    const _BP_RECORD& now = readings_[i];
    if (origin_[i] < 0) {
      entry(EditKind::Added, now.index, {}, ReadingSummary(now));
      if (now.included == 0) entry(EditKind::Excluded, now.index, {}, {});
      continue;
    }
    kept[origin_[i]] = true;
    const _BP_RECORD& was = original_[origin_[i]];
    _BP_RECORD expected = was;
    Shift(expected, shiftMinutes_);
    if (!SameMeasurement(expected, now))
      entry(EditKind::Values, now.index, ReadingSummary(was), ReadingSummary(now));
    if ((was.included == 0) != (now.included == 0))
      entry(now.included == 0 ? EditKind::Excluded : EditKind::Included, now.index, {}, {});
    if (was.comment != now.comment) entry(EditKind::Comment, now.index, was.comment, now.comment);
  }
  for (size_t i = 0; i < original_.size(); ++i)
    if (!kept[i]) entry(EditKind::Deleted, original_[i].index, ReadingSummary(original_[i]), {});
  return out;
}

CaseFileResult SaveTableToCase(CaseDocument& doc, const ReadingTable& table,
                               const EditStamp& stamp) {
  const std::vector<EditEntry> entries = table.Changes(stamp);
  if (entries.empty()) return CaseFileResult::Ok;
  std::vector<_BP_RECORD> before = doc.AllReadings();
  const _BP_DATA_HEAD head = doc.BpHead();
  doc.AllReadings() = table.Readings();
  if (table.Readings().size() != before.size())
    doc.BpHead().count() = static_cast<int32_t>(table.Readings().size());
  const CaseFileResult rc = doc.SaveEditedCaseWithHistory(entries);
  if (rc != CaseFileResult::Ok) {
    doc.AllReadings() = std::move(before);
    doc.BpHead() = head;
  }
  return rc;
}

}  // namespace vesk
