// Bands on the kept threads: every band once per call, however many bands a
// call has and however many calls follow one another.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "render/band_workers.h"

TEST(BandWorkers, EveryBandRunsOnceInEachCall) {
  for (unsigned count : {0u, 1u, 2u, 3u, 9u, 2u}) {
    std::vector<std::atomic<int>> runs(count);
    RunBands(count, [&](unsigned band) { ++runs.at(band); });
    for (unsigned band = 0; band < count; ++band) EXPECT_EQ(runs[band].load(), 1) << count << " bands";
  }
}

// A throwing band, on the caller's thread or a helper's: the exception
// reaches the caller after the other bands, and the next call runs them all.
TEST(BandWorkers, AThrowingBandLeavesTheNextCallWhole) {
  for (unsigned thrower : {0u, 1u, 2u}) {
    EXPECT_THROW(RunBands(3, [&](unsigned band) {
                   if (band == thrower) throw std::runtime_error("band");
                 }),
                 std::runtime_error);
    std::vector<std::atomic<int>> runs(3);
    RunBands(3, [&](unsigned band) { ++runs.at(band); });
    for (unsigned band = 0; band < 3; ++band) EXPECT_EQ(runs[band].load(), 1) << thrower;
  }
}
