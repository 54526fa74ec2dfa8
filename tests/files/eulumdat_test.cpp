// The EULUMDAT reader over real and broken files, and Save's two new formats
// read back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "editor/distribution_editor.h"
#include "files/eulumdat.h"
#include "files/owner_window.h"
#include "support/window_files.h"
#include "measure/lamp_numbers.h"

namespace {

std::string Contents(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(path, std::ios::binary).rdbuf();
  return text.str();
}

struct LdtFile {
  const char* name;
  size_t planes;     // horizontal angles after the expansion by Isym
  float midCandela;  // C 0 at the middle gamma angle: cd/klm x lamp flux / 1000
  double headerFlux;  // the header's lamp flux times its light output ratio
  const char* error = "";
  friend void PrintTo(const LdtFile& f, std::ostream* os) { *os << f.name; }
};

class LdtFileTest : public testing::TestWithParam<LdtFile> {};

TEST_P(LdtFileTest, Reads) {
  const LdtFile& f = GetParam();
  const EulumdatReadResult result = ReadEulumdatText(Contents(std::string(LDT_DIR "/") + f.name));
  ASSERT_EQ(result.error, f.error);
  if (!result.ok) return;
  const Photometry& table = result.photometry;
  EXPECT_EQ(table.planeCount(), f.planes);
  EXPECT_EQ(table.candela.size(), f.planes * table.verticalAngles.size());
  EXPECT_FLOAT_EQ(table.plane(0)[table.verticalAngles.size() / 2], f.midCandela);
  EXPECT_NEAR(MeasureLamp(table).numbers->fluxLm, f.headerFlux, 0.001 * f.headerFlux);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LdtFileTest,
    testing::Values(LdtFile{"isym0-regent-neo-u-led.ldt", 25, 0.89520512f, 12800.0},  // C 0..345, 360
                    LdtFile{"isym1-erco-iku-absolute-bom.ldt", 1, 111.934867f, 611.9},
                    LdtFile{"isym2-regent-traq.ldt", 37, 0.0f, 4600.0},  // C 0..180
                    // C 0..360 from the stored C 270..360..90: C 0 is the 37th.
                    LdtFile{"isym3-trilux-osido.ldt", 145, 8.748f, 1799.09},
                    LdtFile{"isym4-philips-irregular-gamma.ldt", 19, 1314.2628f, 10002.0},  // C 0..90
                    // Per 1000 lm of both lamp sets, 1983 + 2643 lm.
                    LdtFile{"isym4-tulux-two-lamp-sets.ldt", 37, 115.92756f, 4626.0},
                    LdtFile{"isym4-waldmann-crlf-decimal-comma.ldt", 7, 4.90343f, 7000.0},
                    LdtFile{"malformed/short.ldt", 0, 0.0f, 0.0,
                            "it ends after line 200, where line 201 should hold an intensity."},
                    LdtFile{"malformed/text-for-number.ldt", 0, 0.0f, 0.0,
                            "line 150 has \"n/a\" where an intensity should be."},
                    LdtFile{"malformed/isym-7.ldt", 0, 0.0f, 0.0,
                            "line 3 gives the symmetry indicator as 7, not a whole number from 0 "
                            "to 4."}));

// `bytes` with its line `line` (from 1) replaced by `text`.
std::string WithLine(const std::string& bytes, size_t line, const std::string& text) {
  size_t start = 0;
  for (size_t n = 1; n < line; ++n) start = bytes.find('\n', start) + 1;
  return bytes.substr(0, start) + text + bytes.substr(bytes.find('\n', start));
}

// Files that describe no lamp, each a line of the ERCO file changed.
struct LdtFault {
  size_t line;
  const char* text;
  const char* error;
};

class LdtFaultTest : public testing::TestWithParam<LdtFault> {};

TEST_P(LdtFaultTest, IsRefusedNamingTheLine) {
  const LdtFault& f = GetParam();
  const std::string bytes = Contents(LDT_DIR "/isym1-erco-iku-absolute-bom.ldt");
  EXPECT_EQ(ReadEulumdatText(WithLine(bytes, f.line, f.text)).error, f.error);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, LdtFaultTest,
    testing::Values(LdtFault{24, "0", "line 24 gives the conversion factor as 0, not a number above 0."},
                    LdtFault{24, "-1.0", "line 24 gives the conversion factor as -1.0, not a number above 0."},
                    LdtFault{29, "0.00", "line 29 gives a lamp flux as 0.00 lm, not a number above 0."},
                    LdtFault{140, "-3.5", "line 140 gives the intensity -3.5, below 0."},
                    // gamma 0, 0: not ascending
                    LdtFault{45, "0.00", "line 45 breaks the gamma angles' order (strictly ascending from 0 "
                                         "to 180)."}));

// Isym 3 with unevenly spaced C-planes, gamma 0 and 90: the stored planes
// C 270, 280, 350, 0, 10, 80, 90 give 1 to 7 cd at both angles.
std::string Isym3File(const char* c100) {
  std::string text = "Uneven\n1\n3\n12\n0\n2\n0\n\n\n\n\n\n";
  for (int line = 13; line <= 23; ++line) text += "0\n";
  text += "1\n0\n1\n1\n\n1000\n\n\n0\n";
  for (int ratio = 0; ratio < 10; ++ratio) text += "0\n";
  text += std::string("0\n10\n80\n90\n") + c100 + "\n170\n180\n190\n260\n270\n280\n350\n0\n90\n";
  for (int plane = 1; plane <= 7; ++plane) text += std::to_string(plane) + "\n" + std::to_string(plane) + "\n";
  return text;
}

TEST(LdtIsym3, MirrorsByAngle) {
  const EulumdatReadResult result = ReadEulumdatText(Isym3File("100"));
  ASSERT_TRUE(result.ok) << result.error;
  // C 0..350 and 360 take the planes at C 0, 10, 80, 90, 80, 10, 0, 350, 280, 270, 280, 350, 0.
  const std::vector<float> expected = {4, 5, 6, 7, 6, 5, 4, 3, 2, 1, 2, 3, 4};
  for (size_t j = 0; j < expected.size(); ++j) {
    EXPECT_EQ(result.photometry.plane(j)[1], expected[j]) << "C " << result.photometry.horizontalAngles[j];
  }
  EXPECT_EQ(ReadEulumdatText(Isym3File("95")).error,
            "line 47 gives the C angle 95, whose mirror angle 85 the file does not list for symmetry "
            "indicator 3.");
}

// Save in a chosen format, then Open by content.
class SaveFormatTest : public testing::Test, public OwnerWindow {
 protected:
  std::optional<std::string> ChooseSaveFile(std::string_view, SaveFormat) override { return path; }
  std::optional<std::string> ChooseOpenFile(std::string_view) override { return path; }
  bool AskYesNo(std::string_view, std::string_view) override { return true; }
  SaveFormat ChosenSaveFormat() const override { return format; }
  void ShowMessage(std::string_view message, std::string_view caption) override {
    if (caption != kNotWrittenCaption) FAIL() << message;
  }

  void SaveAndReopen(const std::string& source, SaveFormat chosen, const std::string& saved) {
    path = source;
    Document document;
    ASSERT_TRUE(LoadCurve(opened, *this, {}, &document));
    path = (std::filesystem::temp_directory_path() / std::to_string(getpid())).string();
    format = chosen;
    SaveCurve(opened, *this, {}, &document);
    path += saved;
    text = Contents(path);
    ASSERT_TRUE(LoadCurve(back, *this));
    std::filesystem::remove(path);
    for (size_t i = 0; i < back.curve.size(); ++i) {
      EXPECT_NEAR(back.curve[i], opened.curve[i], 1e-6f * opened.curve[i]) << i << " degrees";
    }
  }

  std::string path, text;
  SaveFormat format = SaveFormat::kIes;
  DistributionEditor opened, back;
};

TEST_F(SaveFormatTest, IesToEulumdatAndBack) {
  SaveAndReopen(IES_CORPUS_DIR "/iesna91-bega-axial.ies", SaveFormat::kEulumdat, ".ldt");
  EXPECT_EQ(text.substr(0, 23), "EXAMPLE LUMINAIRES\r\n1\r\n");  // [MANUFAC] kept
}

TEST_F(SaveFormatTest, Lm63Of2019KeepsTheNamesAndHasTheRequiredKeywords) {
  SaveAndReopen(LDT_DIR "/isym1-erco-iku-absolute-bom.ldt", SaveFormat::kIes2019, ".ies");
  std::istringstream lines(text);
  std::string line, keywords;
  std::getline(lines, line);
  EXPECT_EQ(line, "IES:LM-63-2019\r");
  while (std::getline(lines, line) && line.rfind("TILT=", 0) != 0) {
    EXPECT_EQ(line[0], '[') << line;  // keyword lines only
    keywords += line.substr(0, line.find(']') + 1);
  }
  EXPECT_EQ(keywords.rfind("[TEST][TESTLAB][ISSUEDATE][MANUFAC]", 0), 0u) << keywords;
  EXPECT_NE(text.find("\r\n[MANUFAC] ERCO GmbH\r\n"), std::string::npos);
  // Absolute photometry; the luminous area, a circle of 76 mm, in metres.
  EXPECT_NE(text.find("\r\nTILT=NONE\r\n1 -1.0 1 181 1 1 2 -0.076 -0.076 0.0\r\n1.0 1.00001 6.9\r\n"),
            std::string::npos) << text.substr(0, 600);
}

}  // namespace
