#include <gtest/gtest.h>

#include <algorithm>

#include "scan_orders.h"

namespace zet {
namespace {

bool visitsEveryPositionOnce(const BlockOrder& order) {
  BlockOrder sorted = order;
  std::sort(sorted.begin(), sorted.end());
  for (unsigned i = 0; i < 64; ++i) {
    if (sorted[i] != i) return false;
  }
  return true;
}

TEST(ScanOrderTablesTest, EveryOrderVisitsEveryPositionOnce) {
  for (unsigned s = 0; s < kRunScanOrders; ++s) EXPECT_TRUE(visitsEveryPositionOnce(runScanOrders[s])) << s;
  EXPECT_TRUE(visitsEveryPositionOnce(coefficientOrder));
}

TEST(ScanOrderTablesTest, TellingEntries) {
  EXPECT_EQ(runScanOrders[0][8], 57);   // column by column, snaking
  EXPECT_EQ(runScanOrders[1][0], 59);
  EXPECT_EQ(runScanOrders[6][63], 62);
  EXPECT_EQ(runScanOrders[13][15], 18);
  EXPECT_EQ(runScanOrders[15][16], 58);
  EXPECT_EQ(coefficientOrder[16], 20);
  EXPECT_EQ(coefficientOrder[44], 18);
  EXPECT_EQ(coefficientOrder[63], 63);
}

}  // namespace
}  // namespace zet
