#pragma once
// Scroll-bar arithmetic of the trend chart: which bars are needed, their ranges, and the new
// position for each request. Positions are pixels of offset.

namespace vesk {

enum class ScrollRequest { LineBack, LineForward, PageBack, PageForward, Track, Top, Bottom };

// min..max are the positions the thumb can take; page is the thumb's share.
struct ScrollRange {
  int min = 0;
  int max = 0;
  int page = 0;
  bool operator==(const ScrollRange&) const = default;
};

struct ScrollBarPlan {
  bool visible = false;
  ScrollRange range;
  bool operator==(const ScrollBarPlan&) const = default;
};

// The horizontal bar: shown when the recording is wider than the plot.
ScrollBarPlan PlanHorizontalBar(double totalWidth, int plotWidth);
// The vertical bar: shown when the zoomed values are taller than the plot; its range leaves
// 30 pixels of slack as the chart always did.
ScrollBarPlan PlanVerticalBar(double totalHeight, int visibleHeight);

// The position after a request; `track` is the thumb position of Track (a negative horizontal
// track position means the end).
int NextScrollPosition(ScrollRequest request, int position, const ScrollRange& range, int track,
                       bool horizontal);

}  // namespace vesk
