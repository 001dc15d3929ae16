#include "charts/ChartScroll.h"

#include <algorithm>
#include <cmath>

namespace vesk {

ScrollBarPlan PlanHorizontalBar(double totalWidth, int plotWidth) {
  ScrollBarPlan plan;
  if (plotWidth <= 0 || totalWidth <= plotWidth) return plan;
  plan.visible = true;
  plan.range.max = static_cast<int>(std::ceil(totalWidth - plotWidth));
  plan.range.page = std::max(1, static_cast<int>(plan.range.max * plotWidth / totalWidth));
  return plan;
}

ScrollBarPlan PlanVerticalBar(double totalHeight, int visibleHeight) {
  ScrollBarPlan plan;
  if (visibleHeight <= 0 || totalHeight <= visibleHeight) return plan;
  plan.visible = true;
  plan.range.max = std::max(0, static_cast<int>(totalHeight) - visibleHeight - 30);
  plan.range.page = std::max(1, static_cast<int>(visibleHeight * visibleHeight / totalHeight));
  return plan;
}

int NextScrollPosition(ScrollRequest request, int position, const ScrollRange& range, int track,
                       bool horizontal) {
  const int line = std::max(1, (range.max - range.min) / 20);
  int next = position;
  switch (request) {
    case ScrollRequest::LineBack:
      next = position - line;
      break;
    case ScrollRequest::LineForward:
      next = position + line;
      break;
    case ScrollRequest::PageBack:
      next = position - range.page;
      break;
    case ScrollRequest::PageForward:
      next = position + range.page;
      break;
    case ScrollRequest::Track:
      next = horizontal && track < 0 ? range.max : track;
      break;
    case ScrollRequest::Top:
      next = range.min;
      break;
    case ScrollRequest::Bottom:
      next = range.max;
      break;
  }
  return std::clamp(next, range.min, std::max(range.min, range.max));
}

}  // namespace vesk
