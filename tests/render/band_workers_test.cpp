// Bands on the kept threads: every band once per call, however many bands a
// call has and however many calls follow one another.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "render/band_workers.h"

TEST(BandWorkers, EveryBandRunsOnceInEachCall) {
  for (unsigned count : {0u, 1u, 2u, 3u, 9u, 2u}) {
    std::vector<std::atomic<int>> runs(count);
    RunBands(count, [&](unsigned band) { ++runs.at(band); });
    for (unsigned band = 0; band < count; ++band) EXPECT_EQ(runs[band].load(), 1) << count << " bands";
  }
}
