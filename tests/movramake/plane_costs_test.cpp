#include "plane_costs.h"

#include <gtest/gtest.h>

namespace movra {
namespace {

TEST(PlaneCosts, FreshStatesAverageTheirInitialSamples) {
  // 256 x (4 x 17) / (4 x 10)
  EXPECT_EQ(initialPlaneCosts(kLuma).blockType.value(), 435u);
  EXPECT_EQ(initialPlaneCosts(kCr).blockType.value(), 256u * 48 / 40);
  EXPECT_EQ(initialPlaneCosts(kAlpha).run.value(), 256u * 124 / 40);
  // 256 x 9 / 10 for alpha sub types; 256 x 510 / 10 for luma patterns.
  EXPECT_EQ(initialPlaneCosts(kAlpha).subType.value(), 230u);
  EXPECT_EQ(initialPlaneCosts(kLuma).pattern.value(), 13056u);
}

TEST(PlaneCosts, AHistoryAveragesFourSamplesWithinItsBounds) {
  CostHistory history(102, 1024, 17, 10);
  history.replaceNewest(40, 10);
  history.refreshAndShift();
  EXPECT_EQ(history.value(), 256u * (40 + 3 * 17) / 40);
  // The newest sample stays in slot 0 and now also fills slot 1.
  history.refreshAndShift();
  EXPECT_EQ(history.value(), 256u * (40 + 40 + 2 * 17) / 40);
  history.replaceNewest(400, 10);
  history.refreshAndShift();
  EXPECT_EQ(history.value(), 1024u);
  history.replaceNewest(0, 100000);
  history.refreshAndShift();
  EXPECT_EQ(history.value(), 102u);
}

}  // namespace
}  // namespace movra
