#include "analysis/EventDetector.h"

#include <algorithm>
#include <cstdlib>

namespace vesk {

namespace {

enum class Signal { SpO2, PulseRate };

class Detector {
 public:
  Detector(Signal signal, const EventParams& params, std::vector<EventRecord>& events)
      : signal_(signal),
        p_(params),
        events_(events),
        lo_(params.lowValid),
        hi_(params.highValid),
        minMs_(int64_t{params.minTime} * 1000),
        maxMs_(int64_t{params.maxTime} * 1000) {}

  void Run(std::span<const _SPO2_SAMPLE> samples) {
    // The last sample's offset is the grid's length in every well-formed series; a series
    // that reaches further (offsets stepping back at its end) grows the grid as it goes.
    const int32_t lastOffset = samples.back().offset;
    if (lastOffset > 0 && lastOffset <= kMaxSeriesSecond)
      series_.assign(static_cast<size_t>(lastOffset) + 1, 0);

    int32_t segmentStart = -1, previous = 0;
    ForEachGridSample(samples, [&](int32_t offset, const _SPO2_SAMPLE& s) {
      if (segmentStart < 0) {
        segmentStart = offset;
      } else if (offset - previous > 1) {
        ScanSegment(segmentStart, previous);
        segmentStart = offset;
      }
      const size_t at = static_cast<size_t>(offset);
      if (at >= series_.size())
        series_.resize(std::max(at + 1, series_.size() + series_.size() / 2), 0);
      series_[at] = signal_ == Signal::SpO2 ? s.spo2 : s.pr;
      previous = offset;
    });
    if (segmentStart >= 0) ScanSegment(segmentStart, previous);
  }

 private:
  bool InRange(int v) const { return lo_ <= v && v <= hi_; }
  int At(int32_t second) const { return series_[static_cast<size_t>(second)]; }

  int32_t ChangeOf(int32_t startSecond, int32_t endSecond) const {
    return signal_ == Signal::SpO2 ? At(startSecond) - At(endSecond)
                                   : At(endSecond) - At(startSecond);
  }

  void ScanSegment(int32_t a, int32_t b) {
    const int32_t first = a > 1 ? a : 1;
    if (first < b) {
      if (signal_ == Signal::SpO2)
        ScanSpO2(first, b);
      else
        ScanPulseRate(first, b);
    }
    if (p_.swing != 0) MergeCandidates();
  }

  // A fall or a level value extends a desaturation; a rise or an invalid value ends it.
  void ScanSpO2(int32_t first, int32_t b) {
    const uint16_t* x = series_.data();
    bool inRun = false;
    int32_t start = 0, end = 0;
    int p = x[first - 1];
    for (int32_t s = first; s < b; ++s) {
      const int v = x[s];
      if (!InRange(v) || v > p) {
        if (inRun) inRun = false, Finish(start, end);
      } else {
        if (v < p && !inRun && InRange(p)) inRun = true, start = s - 1;
        if (inRun) end = s;
      }
      p = v;
    }
    if (inRun) Finish(start, end);
  }

  // A run follows one direction; the second that turns ends the run at the turning point and
  // starts nothing, so the next run begins one second later. Every segment starts rising.
  void ScanPulseRate(int32_t first, int32_t b) {
    const uint16_t* x = series_.data();
    bool rising = true, inRun = false;
    int32_t start = 0, end = 0;
    int p = x[first - 1];
    for (int32_t s = first; s < b; ++s) {
      const int v = x[s];
      if (!InRange(v)) {
        if (inRun) inRun = false, Finish(start, end);
      } else if (v != p && (v > p) != rising) {
        if (inRun) inRun = false, Finish(start, end);
        rising = v > p;
      } else {
        if (v != p && !inRun && InRange(p)) inRun = true, start = s - 1;
        if (inRun) end = s;
      }
      p = v;
    }
    if (inRun) Finish(start, end);
  }

  // Ends the run from second i to second j: into the event list when it passes, or among the
  // candidates when swings are merged.
  [[gnu::noinline]] void Finish(int32_t i, int32_t j) {
    if (p_.swing == 0) {
      if (Accepted(i, j, ChangeOf(i, j))) events_.push_back(Record(i, j));
    } else if (j > i) {
      candidates_.push_back(Record(i, j));
    }
  }

  EventRecord Record(int32_t i, int32_t j) const {
    EventRecord e;
    e.startValue = At(i);
    e.startTime = i * 1000;
    e.endTime = j * 1000;
    e.change = ChangeOf(i, j);
    return e;
  }

  // The acceptance test of a run from second i to second j. Most runs of a noisy series are a
  // second or two long, so the duration goes first. The rate test is exact integer arithmetic:
  // limit > c * 1000 / duration with duration > 0, the same as the floating-point quotient
  // for every value a series can hold.
  bool Accepted(int32_t i, int32_t j, int32_t change) const {
    if (i == 0 || j == 0 || i == j) return false;
    const int64_t duration = (int64_t{j} - i) * 1000;
    if (duration <= 0 || duration < minMs_ || duration > maxMs_) return false;
    const int64_t c = signal_ == Signal::SpO2 ? change : std::llabs(change);
    if (c < p_.leastChange) return false;
    return int64_t{p_.rateLimit} * duration > c * 1000;
  }

  bool AllInRange(int32_t fromSecond, int32_t toSecond) const {
    for (int32_t s = fromSecond; s <= toSecond; ++s)
      if (!InRange(At(s))) return false;
    return true;
  }

  void Emit(EventRecord e) {
    const int32_t i = e.startTime / 1000, j = e.endTime / 1000;
    e.change = ChangeOf(i, j);
    if (Accepted(i, j, e.change) && AllInRange(i, j)) events_.push_back(e);
  }

  // Joins runs separated by a small rebound into one event, as long as each keeps falling
  // below the one before and the gap is no wider than the shortest event.
  void MergeCandidates() {
    if (candidates_.empty()) return;
    EventRecord current = candidates_.front();
    for (size_t k = 1; k < candidates_.size(); ++k) {
      const EventRecord& next = candidates_[k];
      const int curStart = At(current.startTime / 1000), curEnd = At(current.endTime / 1000);
      const int nextStart = At(next.startTime / 1000), nextEnd = At(next.endTime / 1000);
      const bool merge =
          nextStart - curEnd <= p_.swing && nextEnd < curEnd && nextStart < curStart &&
          int64_t{next.startTime} <= int64_t{current.endTime} + int64_t{p_.minTime} * 1000;
      if (merge) {
        current.endTime = next.endTime;
      } else {
        Emit(current);
        current = next;
      }
    }
    Emit(current);
    candidates_.clear();
  }

  Signal signal_;
  const EventParams& p_;
  std::vector<EventRecord>& events_;
  std::vector<uint16_t> series_;
  std::vector<EventRecord> candidates_;
  const int lo_, hi_;
  const int64_t minMs_, maxMs_;
};

int Detect(Signal signal, std::span<const _SPO2_SAMPLE> samples, const EventParams* params,
           std::vector<EventRecord>& events) {
  events.clear();
  if (samples.empty() || params == nullptr) return 0;
  Detector(signal, *params, events).Run(samples);
  return 1;
}

}  // namespace

int DetectSpO2Events(std::span<const _SPO2_SAMPLE> samples, const EventParams* params,
                     std::vector<EventRecord>& events) {
  return Detect(Signal::SpO2, samples, params, events);
}

int DetectPulseRateEvents(std::span<const _SPO2_SAMPLE> samples, const EventParams* params,
                          std::vector<EventRecord>& events) {
  return Detect(Signal::PulseRate, samples, params, events);
}

}  // namespace vesk
