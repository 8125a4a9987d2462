// Feeds what a coded plane's bundles really cost back into its estimates.
#pragma once

#include "plane_costs.h"
#include "plane_writer.h"

namespace movra {

void updatePlaneCosts(const BundleUsage& usage, PlaneCosts& costs);

}  // namespace movra
