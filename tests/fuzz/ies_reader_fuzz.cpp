// libFuzzer target for the LM-63 reader. Besides running clean under the
// address and undefined-behaviour sanitizers it checks that
//   - a file that loads gives 181 finite samples that are not negative and a
//     table whose planes are whole, and a file that does not gives a message;
//   - the result does not depend on how the text is cut into chunks (the
//     same input read one byte, and a few bytes, at a time);
//   - whatever loads, written again as LM-63 and as EULUMDAT, reads back:
//     no writer writes a file that its own reader refuses.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "files/editor_curve.h"
#include "files/eulumdat.h"
#include "files/ies_format.h"

namespace {

class SlicedSource final : public IesChunkSource {
 public:
  SlicedSource(std::string_view text, size_t slice) : text_(text), slice_(slice) {}
  std::string_view NextChunk() override {
    const std::string_view chunk = text_.substr(0, slice_);
    text_.remove_prefix(chunk.size());
    return chunk;
  }

 private:
  std::string_view text_;
  size_t slice_;
};

void Check(bool condition) {
  if (!condition) std::abort();
}

bool SameResult(const Lm63ReadResult& a, const Lm63ReadResult& b) {
  if (a.ok != b.ok || a.error != b.error || a.tableError != b.tableError) return false;
  if (a.photometry.candela != b.photometry.candela ||
      a.photometry.keywords != b.photometry.keywords) {
    return false;
  }
  for (size_t i = 0; i < a.curve.size(); ++i) {
    // Compared as bits would also be right; every sample is a plain number.
    if (a.curve[i] != b.curve[i]) return false;
  }
  return true;
}

// The lamp written in both formats reads back. The EULUMDAT writer takes
// the light's flux from the measuring layer; any positive figure serves here,
// as the intensities are written relative to it.
void CheckWrittenAgain(const Photometry& table) {
  const Lamp lamp = LampOfTable(table);
  Photometry header = table;
  header.candela.clear();
  Check(ReadIesText(WriteIesText(lamp, header)).ok);
  double flux = 0.0;
  for (const Curve& plane : lamp.planes) {
    for (const float root : plane) flux += static_cast<double>(root) * root;
  }
  const EulumdatReadResult ldt =
      ReadEulumdatText(WriteEulumdatText(lamp, header, {"fuzz.ldt", "2026-12-08"}, {flux, 50.0}));
  Check(ldt.ok);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Lm63ReadResult whole = ReadIesText(text);
  if (whole.ok) {
    for (float sample : whole.curve) Check(std::isfinite(sample) && sample >= 0.0f);
    const Photometry& table = whole.photometry;
    Check(table.candela.size() == table.planeCount() * table.verticalAngles.size());
    CheckWrittenAgain(table);
  } else {
    Check(!whole.error.empty());
  }
  for (size_t slice : {size_t{1}, size_t{7}}) {
    SlicedSource source(text, slice);
    Check(SameResult(whole, ReadIes(source)));
  }
  return 0;
}
