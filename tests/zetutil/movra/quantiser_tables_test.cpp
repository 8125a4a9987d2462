#include <gtest/gtest.h>

#include "quantiser_tables.h"

namespace zet {
namespace {

TEST(QuantiserTablesTest, FirstRowsOfTheFinestQuantiser) {
  const std::int32_t intra[8] = {65536, 90901, 85627, 91511, 65536, 61146, 48768, 24862};
  const std::int32_t inter[8] = {65536, 96582, 90979, 86695, 73728, 57928, 42118, 21472};
  for (unsigned i = 0; i < 8; ++i) {
    EXPECT_EQ(intraQuantisers()[0][i], intra[i]) << i;
    EXPECT_EQ(interQuantisers()[0][i], inter[i]) << i;
  }
}

TEST(QuantiserTablesTest, CoarsestQuantiserMultipliesBy44) {
  EXPECT_EQ(intraQuantisers()[15][0], 2883584);
  EXPECT_EQ(interQuantisers()[15][0], 2883584);
}

TEST(QuantiserTablesTest, RoundsThroughSinglePrecision) {
  // 310343.4916... is 310343.5 in single precision, which rounds up.
  EXPECT_EQ(intraQuantisers()[6][48], 310344);
}

}  // namespace
}  // namespace zet
