#include "bandwidth_allocation.h"

#include <algorithm>
#include <queue>

namespace movra {
namespace {

struct Step {
  double slope;
  std::uint64_t order;  // later insertions win among equal slopes
  std::uint32_t list;
  bool operator<(const Step& other) const {
    return slope < other.slope || (slope == other.slope && order < other.order);
  }
};

double slopeAfter(const CandidateList& list, unsigned index) {
  const Candidate& here = list.candidates[index];
  const Candidate& next = list.candidates[index + 1];
  return (static_cast<double>(here.distortion) - static_cast<double>(next.distortion)) /
         (static_cast<double>(next.rate) - static_cast<double>(here.rate));
}

}  // namespace

void allocateBandwidth(const std::vector<CandidateList*>& lists, std::uint32_t budgetBytes) {
  std::int64_t remaining = std::min<std::int64_t>(std::int64_t{budgetBytes} * 2048, 0x7FFFFFFF);
  std::priority_queue<Step> steps;
  std::uint64_t inserted = 0;
  for (std::uint32_t i = 0; i < lists.size(); ++i) {
    CandidateList& list = *lists[i];
    if (list.count == 0) continue;
    list.chosenIndex = 0;
    remaining -= list.candidates[0].rate;
    if (list.count > 1) steps.push({slopeAfter(list, 0), inserted++, i});
  }
  while (remaining > 0 && !steps.empty()) {
    const Step step = steps.top();
    steps.pop();
    CandidateList& list = *lists[step.list];
    const unsigned from = list.chosenIndex;
    list.chosenIndex = static_cast<std::uint8_t>(from + 1);
    remaining -= std::int64_t{list.candidates[from + 1].rate} - list.candidates[from].rate;
    if (list.chosenIndex + 1u < list.count) steps.push({slopeAfter(list, list.chosenIndex), inserted++, step.list});
  }
  for (CandidateList* list : lists) {
    if (list->count != 0) list->chosen = list->candidates[list->chosenIndex];
  }
}

}  // namespace movra
