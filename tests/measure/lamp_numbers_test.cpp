// The whole lamp's numbers. Built files whose planes each hold one intensity
// at every degree, so the flux is 4 pi times the planes' weighted average,
// worked out by hand per row; then real files against sums by hand.
#include "measure/lamp_numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>

#include "files/ies_format.h"

namespace {

struct LampRow {
  const char* what;
  std::string horizontal, planeValues, lumens;
  Symmetry symmetry;
  double average;  // cd, by hand
  float peakC;
  const char* error = "";  // why the file's planes cannot be measured
};

class LampNumbersTest : public testing::TestWithParam<LampRow> {};

TEST_P(LampNumbersTest, AveragesThePlanesRoundTheCircle) {
  const LampRow& r = GetParam();
  const auto planes = static_cast<size_t>(std::ranges::count(r.horizontal, ' ') + 1);
  const Lm63ReadResult file = ReadIesText("TILT=NONE\n1 " + r.lumens + " 1 2 " + std::to_string(planes) +
                                         " 1 1 0 0 0\n1 1 0\n0 180\n" + r.horizontal + "\n" + r.planeValues);
  ASSERT_TRUE(file.ok) << file.error;
  const LampMeasurement m = MeasureLamp(file.photometry);
  EXPECT_EQ(file.tableError.empty() ? m.error : file.tableError, r.error);
  if (*r.error != '\0') return;
  ASSERT_TRUE(m.numbers);
  EXPECT_EQ(m.numbers->planes, planes);
  EXPECT_EQ(m.numbers->symmetry, r.symmetry);
  EXPECT_NEAR(m.numbers->fluxLm, 4 * std::numbers::pi * r.average, 1e-6 * m.numbers->fluxLm);
  EXPECT_EQ(m.numbers->peakC, r.peakC);
  const double lumens = std::stod(r.lumens);  // one lamp
  EXPECT_EQ(m.numbers->lightOutputRatio, lumens > 0 ? std::optional(m.numbers->fluxLm / lumens) : std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Built, LampNumbersTest,
    testing::Values(
        LampRow{"OnePlane", "0", "100 100", "-1", Symmetry::kRotational, 100, 0},
        // Halves of 0..90: (100 + 300) / 2; a rated lamp flux of 1000 lm.
        LampRow{"QuadrantPlanesDiffer", "0 90", "100 100 300 300", "1000", Symmetry::kQuadrant, 200, 90},
        // Quarters, halves of 0..180: 100 / 4 + 200 / 2 + 400 / 4.
        LampRow{"Bilateral0To180", "0 90 180", "100 100 200 200 400 400", "-1", Symmetry::kBilateral0To180, 225, 180},
        LampRow{"Bilateral90To270", "90 180 270", "100 100 300 300 100 100", "-1", Symmetry::kBilateral90To270, 200, 180},
        // Eighths at 0 and 360, quarters between: 12.5 + 50 + 125 + 50 + 12.5.
        LampRow{"FullCircle", "0 90 180 270 360", "100 100 200 200 500 500 200 200 100 100", "-1", Symmetry::kNone, 250, 180},
        // 270..360 closes on the plane at 0: (270 * 100 + 270 * 300 + 180 * 200) / 720.
        LampRow{"LastAt270ClosesOnZero", "0 180 270", "100 100 300 300 200 200", "-1", Symmetry::kNone, 200, 180},
        LampRow{"NoSymmetry", "0 45", "1 1 2 2", "-1", {}, 0, 0,
                "its horizontal angles run from 0 to 45 degrees, which is none of 0 to 90, 0 to 180, 90 to 270 and 0 to 360."},
        // The file still opens with its first plane; its lamp is not measured.
        LampRow{"LaterPlaneCut", "0 90", "100 100 300", "-1", {}, 0, 0, "it ends in the middle of its candela values."}),
    [](const testing::TestParamInfo<LampRow>& row) { return row.param.what; });

Lm63ReadResult ReadCorpusFile(const std::string& name) {
  std::ostringstream text;
  text << std::ifstream(std::string(IES_CORPUS_DIR) + "/" + name, std::ios::binary).rdbuf();
  return ReadIesText(text.str());
}

double CorpusFlux(const Lm63ReadResult& file) { return MeasureLamp(file.photometry).numbers.value().fluxLm; }

TEST(LampNumbersCorpus, MatchesSumsByHandAndTheRoadwayHeader) {
  // Planes 0 and 90 of 1 cd at every degree: 4 pi lm.
  EXPECT_NEAR(CorpusFlux(ReadCorpusFile("lm63-2002-dial-onedegree-longlines.ies")), 4 * std::numbers::pi, 1e-9);
  // The planes C 0, 22.5 .. 180 integrate (piecewise linear in gamma) to
  // 9570, 8600, 6606, 5676, 5227, 5100, 5668, 6875 and 7283 lm; weighed
  // 1/16, 1/8 (seven times), 1/16 they give 6522 lm.
  EXPECT_NEAR(CorpusFlux(ReadCorpusFile("lm63-1995-ballabs-wallpack-0-180.ies")), 6522.1, 6.5);
  // Replace if the corpus file is replaced: its header states the lamp's
  // flux in the keyword line "[_ABSOLUTELUMENS]9217".
  const Lm63ReadResult roadway = ReadCorpusFile("lm63-2002-rab-roadway-mult.ies");
  const std::string key = "[_ABSOLUTELUMENS]";
  const auto& keywords = roadway.photometry.keywords;
  const auto line = std::ranges::find_if(keywords, [&](const std::string& k) { return k.starts_with(key); });
  ASSERT_NE(line, keywords.end());
  EXPECT_NEAR(CorpusFlux(roadway), std::stod(line->substr(key.size())), 0.001 * 9217);
}

}  // namespace
