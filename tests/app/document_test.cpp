// The document: whole lamps written back in every format, what a written
// file may claim, and strokes on the sections of a lamp.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "app/document.h"
#include "app/status_text.h"
#include "files/eulumdat.h"
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
  // A stroke on C 90 makes it asymmetric, as the written file says.
  Curve wider = curve;
  wider[40] = 9.0f;
  document.TakeEditedCurve(wider, curve);
  const Lm63ReadResult back = ReadIesText(document.Bytes(SaveFormat::kIes, "lamp.ies"));
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(MeasureLamp(back.photometry).numbers->symmetry, Symmetry::kNone);
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

namespace {

// --- Each format's losses, told once; files its readers must take ---------

TEST(NotWritten, EachFormatsLossesAreToldOnceBeforeWriting) {
  Document ldt = Opened(LDT_DIR "/isym4-tulux-two-lamp-sets.ldt");
  EXPECT_NE(ldt.NotWritten(SaveFormat::kIes2019).find("the lamp sets apart"), std::string::npos);
  EXPECT_EQ(ldt.NotWritten(SaveFormat::kIes2019), "");  // once
  EXPECT_EQ(ldt.NotWritten(SaveFormat::kEulumdat), "");  // its own format holds it all
  Document ies = Opened(IES_CORPUS "/lm63-2002-rab-roadway-mult.ies");
  EXPECT_NE(ies.NotWritten(SaveFormat::kEulumdat).find("[TESTLAB]"), std::string::npos);
  EXPECT_EQ(ies.NotWritten(SaveFormat::kIes2019), "");
}

// A luminaire named "TILT=INCLUDE ..." starts a line of the EULUMDAT file
// with "TILT=", which LM-63 files alone have: it still opens as EULUMDAT.
TEST(WrittenFiles, AnEulumdatLineStartingWithTiltOpens) {
  Document document = Opened(IES_CORPUS "/lm63-2002-tilt-include-synthetic.ies");
  const std::string path =
      (std::filesystem::temp_directory_path() / ("tilt_named_" + std::to_string(getpid()) + ".ldt")).string();
  std::ofstream(path, std::ios::binary) << document.Bytes(SaveFormat::kEulumdat, path);
  QuietOwner owner;
  const std::optional<PhotometricFile> back = ReadPhotometricPath(owner, path);
  std::filesystem::remove(path);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->format, FileFormat::kEulumdat);
}

// A lamp count beyond EULUMDAT's four digits is written as absolute
// photometry, which reads back to the same light.
TEST(WrittenFiles, ALampCountBeyondFourDigitsReadsBack) {
  Photometry header;
  header.lampCount = 10450;
  header.lumensPerLamp = 100.0f;
  Curve curve{};
  curve.fill(30.0f);
  const Lamp lamp = Lamp::OfCurve(curve);
  const EulumdatReadResult back =
      ReadEulumdatText(WriteEulumdatText(lamp, header, {"x.ldt", "2026-12-08"}, {MeasureLamp(lamp).fluxLm, 50.0}));
  ASSERT_TRUE(back.ok) << back.error;
  EXPECT_EQ(back.photometry.lumensPerLamp, -1.0f);
  EXPECT_NEAR(back.photometry.candela[0], 900.0, 1e-3);
}

// The file-generation type says where the light came from.
TEST(WrittenFiles, FileGenerationTypeFollowsTheLight) {
  const auto typeLine = [](const Document& d) {
    const std::string text = d.Bytes(SaveFormat::kIes2019, "x.ies");
    const size_t tilt = text.find("TILT=NONE\r\n");
    const size_t second = text.find("\r\n", text.find("\r\n", tilt) + 2);
    return text.substr(second + 2, text.find("\r\n", second + 2) - second - 2);
  };
  // A laboratory's 2019 file (type 1.10000), its ten angles resampled onto
  // whole degrees.
  const std::string path =
      (std::filesystem::temp_directory_path() / ("lab_" + std::to_string(getpid()) + ".ies")).string();
  std::ofstream(path, std::ios::binary)
      << "IES:LM-63-2019\r\n[TEST] T\r\n[TESTLAB] L\r\n[ISSUEDATE] D\r\n[MANUFAC] M\r\nTILT=NONE\r\n"
         "1 -1 1 10 1 1 1 0 0 0\r\n1.0 1.10000 25\r\n0 10 20 30 40 50 60 70 80 90\r\n0\r\n"
         "9000 6400 3600 4400 2400 1200 300 60 10 0\r\n";
  Document lab = Opened(path);
  std::filesystem::remove(path);
  EXPECT_EQ(typeLine(lab), "1.0 1.11000 25.0");
  Lamp brighter = lab.lamp();
  for (Curve& plane : brighter.planes) plane[0] *= 2.0f;
  lab.Scale(brighter);  // (not a uniform scale, but the light is taken as scaled)
  EXPECT_EQ(typeLine(lab), "1.0 1.11100 25.0");
  Document drawn;
  EXPECT_EQ(typeLine(drawn), "1.0 1.00010 0.0");
}

// The status bar of a lamp drawn by sections: its whole-lamp numbers and
// the section shown.
TEST(StatusOfALamp, CurveFieldIsTheWholeLampsAndTheSectionIsNamed) {
  Document document = Opened(IES_CORPUS "/lm63-1995-ballabs-wallpack-0-180.ies");
  DistributionEditor editor;
  document.ShowSection(editor.curve, editor.leftCurve);
  const StatusTexts texts = StatusTextsFor(editor, document, false);
  const LampNumbers numbers = MeasureLamp(document.lamp());
  char flux[32];
  std::snprintf(flux, sizeof flux, "flux %.4g lm", numbers.fluxLm);
  EXPECT_NE(texts.curve.find(flux), std::string::npos) << texts.curve;
  EXPECT_EQ(texts.lamp.rfind("section C 0\u00b0 | 180\u00b0  light ", 0), 0u) << texts.lamp;
}

}  // namespace
