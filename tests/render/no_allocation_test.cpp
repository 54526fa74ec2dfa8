// DrawPolar runs after every pointer move: it must not allocate. Counts the
// calls of operator new, which this file replaces for the whole test program.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "editor/distribution_editor.h"
#include "render/polar_view.h"

namespace {
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(PolarView, DrawsWithoutAllocating) {
  DistributionEditor e;
  for (size_t n = 0; n < e.curve.size(); ++n) e.curve[n] = static_cast<float>(n % 7) / 5;
  Image client(e.clientWidth, e.clientHeight);
  DrawPolar(e, client);  // the first call fills the sine table once
  const long before = allocations.load();
  DrawPolar(e, client);
  e.polarScale = 1e9f;
  e.centerX = -4e8f;
  DrawPolar(e, client);
  EXPECT_EQ(allocations.load(), before);
}

// A diagram large enough to be drawn in bands on several cores: the threads
// are started by the first call and kept, so a later one allocates nothing.
TEST(PolarView, DrawsInBandsWithoutAllocating) {
  DistributionEditor e;
  e.OnResize(2400, 1000);
  Image client(e.clientWidth, e.clientHeight);
  DrawPolar(e, client);
  const long before = allocations.load();
  DrawPolar(e, client);
  EXPECT_EQ(allocations.load(), before);
}

}  // namespace
