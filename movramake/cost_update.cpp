#include "cost_update.h"

namespace movra {
namespace {

// Fewer values than this say too little about a bundle's cost.
constexpr std::uint32_t kTellingValues = 10;
constexpr std::uint32_t kTellingPatternValues = 87;  // more than ten blocks' rows

void learn(const BundleUsage& usage, BundleIndex bundle, CostHistory& history) {
  if (usage.values[bundle] > kTellingValues) history.replaceNewest(usage.bits[bundle], usage.values[bundle] + 1);
}

}  // namespace

void updatePlaneCosts(const BundleUsage& usage, PlaneCosts& costs) {
  learn(usage, kBlockTypesBundle, costs.blockType);
  learn(usage, kBlockSubtypesBundle, costs.subType);
  if (usage.values[kColorsBundle] > kTellingValues) {
    costs.colour.sample = usage.bits[kColorsBundle];
    costs.colour.weight = usage.values[kColorsBundle] + 1;
  }
  if (usage.values[kPatternsBundle] > kTellingPatternValues) {
    costs.pattern.replaceNewest(usage.bits[kPatternsBundle], usage.values[kPatternsBundle] / 8 + 1);
  }
  // Both offset bundles carry one value per moved block; a vector costs both.
  if (usage.values[kXOffsetsBundle] > kTellingValues) {
    costs.motion.replaceNewest(usage.bits[kYOffsetsBundle] + usage.bits[kXOffsetsBundle],
                               usage.values[kXOffsetsBundle] + 1);
  }
  learn(usage, kIntraDcBundle, costs.intraDc);
  learn(usage, kInterDcBundle, costs.interDc);
  learn(usage, kRunsBundle, costs.run);
}

}  // namespace movra
