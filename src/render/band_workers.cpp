#include "render/band_workers.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace {

unsigned Cores() { return std::max(1u, std::min(std::thread::hardware_concurrency(), 8u)); }

// Helper threads that wait for a call's bands. Each helper owns one band
// number; a call's generation number wakes them all, and those whose band
// the call has run it.
class BandPool {
 public:
  explicit BandPool(unsigned helpers) {
    for (unsigned h = 0; h < helpers; ++h) threads_.emplace_back([this, h] { Serve(h + 1); });
  }

  void Run(unsigned count, BandFunction function, const void* context) {
    const std::lock_guard<std::mutex> oneCall(callMutex_);
    const auto helped = std::min<unsigned>(count - 1, static_cast<unsigned>(threads_.size()));
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      function_ = function;
      context_ = context;
      helped_ = helped;
      pending_ = helped;
      ++generation_;
    }
    wake_.notify_all();
    // A band that throws ends the caller's own bands, never the wait: the
    // helpers still use this call's context until they are done. Then the
    // first exception, the caller's or a helper's, goes on to the caller.
    std::exception_ptr failure;
    try {
      function(context, 0);
      for (unsigned band = helped + 1; band < count; ++band) function(context, band);
    } catch (...) {
      failure = std::current_exception();
    }
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return pending_ == 0; });
    if (!failure) failure = helperFailure_;
    helperFailure_ = nullptr;
    lock.unlock();
    if (failure) std::rethrow_exception(failure);
  }

 private:
  void Serve(unsigned band) {
    uint64_t seen = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      wake_.wait(lock, [&] { return generation_ != seen; });
      seen = generation_;
      if (band > helped_) continue;
      const BandFunction function = function_;
      const void* context = context_;
      lock.unlock();
      std::exception_ptr failure;
      try {
        function(context, band);
      } catch (...) {
        failure = std::current_exception();
      }
      lock.lock();
      if (failure && !helperFailure_) helperFailure_ = failure;
      if (--pending_ == 0) done_.notify_one();
    }
  }

  std::mutex callMutex_;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  uint64_t generation_ = 0;
  BandFunction function_ = nullptr;
  const void* context_ = nullptr;
  unsigned helped_ = 0, pending_ = 0;
  std::exception_ptr helperFailure_;  // the first band a helper could not finish
  std::vector<std::thread> threads_;
};

}  // namespace

void RunBandsOf(unsigned count, BandFunction function, const void* context) {
  if (count <= 1) {
    if (count == 1) function(context, 0);
    return;
  }
  // Never destroyed: its threads wait until the process ends.
  static BandPool* const pool = new BandPool(Cores() - 1);
  pool->Run(count, function, context);
}

unsigned BandsFor(int64_t pixels, int64_t threshold) { return pixels >= threshold ? Cores() : 1u; }
