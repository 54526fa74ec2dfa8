// The EULUMDAT reader over real and broken files, and Save's two new formats
// read back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "editor/distribution_editor.h"
#include "ies/eulumdat.h"
#include "ies/owner_window.h"
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

// Save in a chosen format, then Open by content.
class SaveFormatTest : public testing::Test, public OwnerWindow {
 protected:
  std::optional<std::string> ChooseSaveFile(std::string_view) override { return path; }
  std::optional<std::string> ChooseOpenFile(std::string_view) override { return path; }
  bool AskYesNo(std::string_view, std::string_view) override { return true; }
  SaveFormat ChosenSaveFormat() const override { return format; }
  void ShowMessage(std::string_view message, std::string_view) override { FAIL() << message; }

  void SaveAndReopen(const std::string& source, SaveFormat chosen, const std::string& saved) {
    path = source;
    ASSERT_TRUE(opened.LoadIes(*this));
    path = (std::filesystem::temp_directory_path() / std::to_string(getpid())).string();
    format = chosen;
    opened.SaveIes(*this);
    path += saved;
    text = Contents(path);
    ASSERT_TRUE(back.LoadIes(*this));
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
  EXPECT_NE(text.find("\r\nTILT=NONE\r\n1 -1.0 1 181 1 1 1 0.0 0.0 0.0\r\n1.0 1.00001 6.9\r\n"),
            std::string::npos);
}

}  // namespace
