// The document: whole lamps written back in every format, what a written
// file may claim, and strokes on the sections of a lamp.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "app/document.h"
#include "files/file_commands.h"
#include "files/ies_format.h"
#include "measure/lamp_numbers.h"

namespace {

class QuietOwner : public OwnerWindow {
 public:
  std::optional<std::string> ChooseSaveFile(std::string_view, SaveFormat) override { return {}; }
  std::optional<std::string> ChooseOpenFile(std::string_view) override { return {}; }
  void ShowMessage(std::string_view text, std::string_view) override { ADD_FAILURE() << text; }
  bool AskYesNo(std::string_view, std::string_view) override { return false; }
};

Document Opened(const std::string& path) {
  QuietOwner owner;
  std::optional<PhotometricFile> file = ReadPhotometricPath(owner, path);
  EXPECT_TRUE(file) << path;
  Document document;
  if (file) document.Open(path, std::move(*file));
  return document;
}

double Candela(const Lamp& lamp, double c, size_t degree) {
  const double root = CurveAt(lamp, c)[degree];
  return root * root;
}

// --- Round trips: every plane, in every format ------------------------------

using RoundTripRow = std::tuple<const char*, SaveFormat>;

class RoundTrip : public testing::TestWithParam<RoundTripRow> {};

TEST_P(RoundTrip, ReopensWithTheSameLightInEveryDirection) {
  const auto [name, format] = GetParam();
  const std::string source = std::string(name).ends_with(".ldt") ? std::string(LDT_DIR "/") + name
                                                                  : std::string(IES_CORPUS "/") + name;
  Document document = Opened(source);
  const std::string written = (std::filesystem::temp_directory_path() /
                               ("document_round_trip_" + std::to_string(getpid()) +
                                (format == SaveFormat::kEulumdat ? ".ldt" : ".ies")))
                                  .string();
  std::ofstream(written, std::ios::binary) << document.Bytes(format, written);
  const Document back = Opened(written);
  std::filesystem::remove(written);

  const Lamp& a = document.lamp();
  const Lamp& b = back.lamp();
  for (const float c : a.planeAngles) {
    for (size_t d = 0; d < kCurveSampleCount; ++d) {
      const double expected = Candela(a, c, d);
      ASSERT_NEAR(Candela(b, c, d), expected, 1e-6 + 2e-6 * expected) << "C " << c << ", " << d << " degrees";
    }
  }
  const LampNumbers before = MeasureLamp(a), after = MeasureLamp(b);
  EXPECT_EQ(after.symmetry, a.Simplified().symmetry);
  EXPECT_NEAR(after.fluxLm, before.fluxLm, 1e-3 * before.fluxLm);
}

INSTANTIATE_TEST_SUITE_P(
    Files, RoundTrip,
    testing::Combine(testing::Values("lm63-1995-erco-spot.ies",           // one plane
                                     "lm63-2002-rab-roadway-mult.ies",    // quadrant, a multiplier
                                     "lm63-1995-ballabs-wallpack-0-180.ies",
                                     "lm63-2002-everfine-0-360.ies", "iesna91-lithonia-commas.ies",
                                     "iesna95-radiance-examp1.ies", "lm63-2002-dial-onedegree-longlines.ies",
                                     "lm63-2002-erco-tabs.ies", "isym0-regent-neo-u-led.ldt",
                                     "isym2-regent-traq.ldt", "isym3-trilux-osido.ldt",
                                     "isym4-philips-irregular-gamma.ldt", "isym4-tulux-two-lamp-sets.ldt",
                                     "isym4-waldmann-crlf-decimal-comma.ldt"),
                     testing::Values(SaveFormat::kIes, SaveFormat::kIes2019, SaveFormat::kEulumdat)));

TEST(DrawnLamp, SavedAsIesGivesTheFirstLayoutsBytes) {
  Curve curve{};
  for (size_t i = 0; i < curve.size(); ++i) curve[i] = 0.37f * static_cast<float>(i % 17);
  Document document;
  document.StartNew(Lamp::OfCurve(curve));
  EXPECT_EQ(document.Bytes(SaveFormat::kIes, "lamp.ies"), WriteIesText(curve.data()));
  // Turned into four equal planes, it is still written as one.
  document.TurnSection(1);
  EXPECT_EQ(document.lamp().planes.size(), 4u);
  EXPECT_EQ(document.Bytes(SaveFormat::kIes, "lamp.ies"), WriteIesText(curve.data()));
}

// --- What a written file may claim ------------------------------------------

enum class Light { kAsOpened, kStroked, kReset };

struct CarryRow {
  const char* name;
  Light light;
  bool names;        // [MANUFAC] and the lamp count carry over
  bool measurement;  // [TEST] and [TESTLAB] carry over
};

class Carry : public testing::TestWithParam<CarryRow> {};

TEST_P(Carry, WrittenFileClaimsOnlyWhatItsLightIs) {
  const CarryRow& row = GetParam();
  Document document = Opened(IES_CORPUS "/lm63-2002-rab-roadway-mult.ies");
  if (row.light == Light::kStroked) {
    Curve stroke = document.EditedCurve();
    stroke[10] *= 1.5f;
    document.TakeEditedCurve(stroke);
  }
  if (row.light == Light::kReset) document.StartNew(Lamp::OfCurve(Curve{}));
  const std::string text = document.Bytes(SaveFormat::kIes2019, "out.ies");
  EXPECT_EQ(text.find("[MANUFAC]EXAMPLE LUMINAIRES") != std::string::npos, row.names) << text.substr(0, 400);
  EXPECT_EQ(text.find("\r\n192 ") != std::string::npos, row.names);
  EXPECT_EQ(text.find("[TESTLAB] Lumistra") == std::string::npos, row.measurement);
  const std::string ldt = document.Bytes(SaveFormat::kEulumdat, "out.ldt");
  EXPECT_EQ(ldt.rfind("EXAMPLE LUMINAIRES", 0) == 0, row.names) << ldt.substr(0, 40);
}

INSTANTIATE_TEST_SUITE_P(Table, Carry,
                         testing::Values(CarryRow{"AsOpened", Light::kAsOpened, true, true},
                                         CarryRow{"Stroked", Light::kStroked, true, false},
                                         CarryRow{"Reset", Light::kReset, false, false}),
                         [](const testing::TestParamInfo<CarryRow>& p) { return p.param.name; });

// --- Strokes on sections ------------------------------------------------------

// Planes of different light; a plane at 360 is the one at 0 again.
Lamp LampOf(Symmetry symmetry, std::vector<float> angles) {
  Lamp lamp;
  lamp.symmetry = symmetry;
  lamp.planeAngles = std::move(angles);
  lamp.planes.assign(lamp.planeAngles.size(), Curve{});
  for (size_t k = 0; k < lamp.planes.size(); ++k) lamp.planes[k].fill(1.0f + static_cast<float>(k));
  if (lamp.planeAngles.back() == 360.0f) lamp.planes.back() = lamp.planes.front();
  return lamp;
}

struct SectionRow {
  const char* name;
  Lamp lamp;
  int turns;                         // Page Down presses
  double section;                    // the section they reach
  std::vector<float> rightChanges;   // the planes a stroke on the right half changes
  std::vector<float> leftChanges;    // and on the left half, when it has its own
};

class SectionStroke : public testing::TestWithParam<SectionRow> {};

TEST_P(SectionStroke, ChangesThePlanesTheSymmetryTiesToIt) {
  const SectionRow& row = GetParam();
  for (const bool left : {false, true}) {
    Document document;
    document.StartNew(row.lamp);
    for (int i = 0; i < row.turns; ++i) document.TurnSection(1);
    ASSERT_EQ(document.sectionC(), row.section);
    Curve right{};
    std::optional<Curve> leftCurve;
    document.ShowSection(right, leftCurve);
    ASSERT_EQ(leftCurve.has_value(), !row.leftChanges.empty());
    const Lamp before = document.lamp();
    (left && leftCurve ? *leftCurve : right).fill(9.0f);
    document.TakeEditedCurve(right, leftCurve);
    const std::vector<float>& expected = left && leftCurve ? row.leftChanges : row.rightChanges;
    for (size_t k = 0; k < before.planes.size(); ++k) {
      const float c = before.planeAngles[k];
      const bool changes = std::find(expected.begin(), expected.end(), c) != expected.end();
      EXPECT_EQ(document.lamp().planes[k] != before.planes[k], changes)
          << (left ? "left" : "right") << " half, plane C " << c;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, SectionStroke,
    testing::Values(
        // One plane: the first turn makes four copies and shows C 90 | 270.
        SectionRow{"OnePlaneTurned", Lamp::OfCurve(Curve{}), 1, 90.0, {90.0f}, {270.0f}},
        // Quadrant: C 30 and 210 are one listed plane, so both halves are it.
        SectionRow{"Quadrant", LampOf(Symmetry::kQuadrant, {0, 30, 60, 90}), 1, 30.0, {30.0f}, {}},
        SectionRow{"QuadrantMirrored", LampOf(Symmetry::kQuadrant, {0, 30, 60, 90}), 5, 150.0, {30.0f}, {}},
        SectionRow{"Bilateral0To180", LampOf(Symmetry::kBilateral0To180, {0, 45, 90, 135, 180}), 1,
                   45.0, {45.0f}, {135.0f}},
        SectionRow{"Bilateral90To270", LampOf(Symmetry::kBilateral90To270, {90, 135, 180, 225, 270}), 1,
                   45.0, {135.0f}, {225.0f}},
        // None: C 0 is listed twice, at 0 and 360.
        SectionRow{"NoneAtZero", LampOf(Symmetry::kNone, {0, 90, 180, 270, 360}), 0, 0.0, {0.0f, 360.0f},
                   {180.0f}}),
    [](const testing::TestParamInfo<SectionRow>& p) { return p.param.name; });

}  // namespace
