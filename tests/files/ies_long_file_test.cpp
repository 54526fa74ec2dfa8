// A file with 100 MB of text before its tilt line is read in bounded memory:
// the text comes from a source that makes it piece by piece and never holds
// it, so the peak memory of the process grows only if the reader keeps what
// it has read.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "files/ies_format.h"

namespace {

// `prefixBytes` bytes made by repeating `pattern`, then a small usable file.
class LongPrefixSource final : public IesChunkSource {
 public:
  LongPrefixSource(std::string pattern, size_t prefixBytes)
      : pattern_(std::move(pattern)), left_(prefixBytes) {
    for (size_t i = 0; i < chunk_.size(); ++i) chunk_[i] = pattern_[i % pattern_.size()];
  }

  std::string_view NextChunk() override {
    if (left_ > 0) {
      // Whole repetitions only, so the pattern runs on across chunks.
      const size_t whole = chunk_.size() / pattern_.size() * pattern_.size();
      const size_t size = std::min(left_, whole);
      left_ -= size;
      return std::string_view(chunk_.data(), size);
    }
    return std::exchange(tail_, std::string_view());
  }

 private:
  std::string pattern_;
  size_t left_;
  std::array<char, 64 * 1024> chunk_{};
  std::string_view tail_ = "\nTILT=NONE\n1 -1 1 2 1 1 1 0 0 0\n1 1 0\n0 90\n0\n49 1\n";
};

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

struct LongCase {
  const char* what;
  const char* pattern;
  friend void PrintTo(const LongCase& c, std::ostream* os) { *os << c.what; }
};

class LongFileTest : public testing::TestWithParam<LongCase> {};

TEST_P(LongFileTest, ReadsAHundredMegabytesBeforeTheTiltLineInBoundedMemory) {
  constexpr size_t kHundredMegabytes = 100u * 1024 * 1024;
  LongPrefixSource source(GetParam().pattern, kHundredMegabytes);
  const long before = PeakKilobytes();
  const Lm63ReadResult result = ReadIes(source);
  const long grown = PeakKilobytes() - before;
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.curve[0], 7.0f);
  EXPECT_LT(grown, 8 * 1024) << "kilobytes";
}

INSTANTIATE_TEST_SUITE_P(
    Prefixes, LongFileTest,
    testing::Values(
        LongCase{"keyword lines", "[MORE] a long description of the luminaire\r\n"},
        LongCase{"one line without a line end", "x"},
        LongCase{"CR bytes", "\r"},
        LongCase{"lines that almost start with TILT=", "TILT\nTILT \ntilt=NONE\n"}));

}  // namespace
