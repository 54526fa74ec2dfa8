#pragma once
// Pictures drawn in bands on the machine's cores. RunBands(count, work) calls
// work(band) for every band in [0, count) and returns when all are done:
// band 0 on the calling thread, the others on threads that are started by
// the first call and then kept for the program's whole run, so that later
// calls start no thread and allocate nothing (a pointer move redraws the
// diagram). One call runs at a time; a second caller waits for the first.
// A band that throws: the call still waits for the other bands, then
// rethrows the first exception.

#include <cstdint>

using BandFunction = void (*)(const void* context, unsigned band);

void RunBandsOf(unsigned count, BandFunction function, const void* context);

template <class Work>
void RunBands(unsigned count, const Work& work) {
  RunBandsOf(
      count, [](const void* context, unsigned band) { (*static_cast<const Work*>(context))(band); }, &work);
}

// The bands worth cutting a picture of `pixels` pixels into: one per core
// (at most 8) from `threshold` pixels on, below it one.
unsigned BandsFor(int64_t pixels, int64_t threshold);
