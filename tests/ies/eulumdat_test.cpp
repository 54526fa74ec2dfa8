// The EULUMDAT reader over real files and broken ones, and the files Save
// writes in the new formats read back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "editor/distribution_editor.h"
#include "ies/eulumdat.h"
#include "ies/owner_window.h"

namespace fs = std::filesystem;

namespace {

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string LdtFile(const std::string& name) { return Contents(std::string(LDT_DIR) + "/" + name); }

struct RealFile {
  const char* name;
  size_t planes;      // horizontal angles after the expansion by Isym
  float lastPlane;    // the last horizontal angle
  float midCandela;   // C 0 at the middle gamma angle: cd/klm x lamp flux / 1000
  friend void PrintTo(const RealFile& f, std::ostream* os) { *os << f.name; }
};

class EulumdatRealFileTest : public testing::TestWithParam<RealFile> {};

TEST_P(EulumdatRealFileTest, ReadsEveryPlane) {
  const EulumdatReadResult result = ReadEulumdatText(LdtFile(GetParam().name));
  ASSERT_TRUE(result.ok) << result.error;
  const Photometry& table = result.photometry;
  EXPECT_EQ(table.planeCount(), GetParam().planes);
  EXPECT_EQ(table.horizontalAngles.back(), GetParam().lastPlane);
  EXPECT_EQ(table.candela.size(), table.planeCount() * table.verticalAngles.size());
  EXPECT_FLOAT_EQ(table.plane(0)[table.verticalAngles.size() / 2], GetParam().midCandela);
}

INSTANTIATE_TEST_SUITE_P(
    Files, EulumdatRealFileTest,
    testing::Values(RealFile{"isym0-regent-neo-u-led.ldt", 25, 360.0f, 0.89520512f},
                    RealFile{"isym1-erco-iku-absolute-bom.ldt", 1, 0.0f, 111.934867f},
                    RealFile{"isym2-regent-traq.ldt", 37, 180.0f, 0.0f},
                    // C 0 is the 37th stored plane: they run C 270..360..90.
                    RealFile{"isym3-trilux-osido.ldt", 145, 360.0f, 8.748f},
                    RealFile{"isym4-philips-irregular-gamma.ldt", 19, 90.0f, 1314.2628f},
                    // Per 1000 lm of both lamp sets, 1983 + 2643 lm.
                    RealFile{"isym4-tulux-two-lamp-sets.ldt", 37, 90.0f, 115.92756f},
                    RealFile{"isym4-waldmann-crlf-decimal-comma.ldt", 7, 90.0f, 4.90343f}));

struct BrokenFile {
  const char* name;
  const char* error;
  friend void PrintTo(const BrokenFile& f, std::ostream* os) { *os << f.name; }
};

class EulumdatBrokenFileTest : public testing::TestWithParam<BrokenFile> {};

TEST_P(EulumdatBrokenFileTest, IsRefusedNamingTheLine) {
  const EulumdatReadResult result = ReadEulumdatText(LdtFile(GetParam().name));
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Files, EulumdatBrokenFileTest,
    testing::Values(
        BrokenFile{"malformed/short.ldt",
                   "it ends after line 200, where line 201 should hold an intensity."},
        BrokenFile{"malformed/text-for-number.ldt",
                   "line 150 has \"n/a\" where an intensity should be."},
        BrokenFile{"malformed/isym-7.ldt",
                   "line 3 gives the symmetry indicator as 7, not a whole number from 0 to 4."}));

// Save in a chosen format into a fresh folder, then Open by content.
class SaveFormatTest : public testing::Test, public OwnerWindow {
 protected:
  void SetUp() override {
    fs::remove_all(folder);
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }

  std::optional<std::string> ChooseSaveFile() override { return path; }
  std::optional<std::string> ChooseOpenFile() override { return path; }
  SaveFormat ChosenSaveFormat() const override { return format; }
  void ShowMessage(std::string_view text, std::string_view) override { FAIL() << text; }

  static void ExpectSameCurve(const Curve& a, const Curve& b) {
    for (size_t i = 0; i < a.size(); ++i) EXPECT_NEAR(a[i], b[i], 1e-6f * b[i]) << i << " deg";
  }

  fs::path folder = fs::temp_directory_path() / ("ldt_save_" + std::to_string(getpid()));
  std::string path;
  SaveFormat format = SaveFormat::kIes;
  DistributionEditor source, back;
};

TEST_F(SaveFormatTest, IesToEulumdatAndBackKeepsTheCurveAndTheManufacturer) {
  path = IES_CORPUS_DIR "/iesna91-bega-axial.ies";
  ASSERT_TRUE(source.LoadIes(*this));
  source.openedHeader.keywords = {"[MANUFAC] BEGA"};  // what the LM-63 reader does not keep yet
  path = (folder / "lamp").string();
  format = SaveFormat::kEulumdat;
  source.SaveIes(*this);
  path += ".ldt";
  EXPECT_EQ(Contents(path).substr(0, 6), "BEGA\r\n");
  ASSERT_TRUE(back.LoadIes(*this));
  ExpectSameCurve(back.curve, source.curve);
}

TEST_F(SaveFormatTest, Lm63Of2019HasTheRequiredKeywordsAndTheCurve) {
  path = std::string(LDT_DIR) + "/isym1-erco-iku-absolute-bom.ldt";
  ASSERT_TRUE(source.LoadIes(*this));
  path = (folder / "lamp.ies").string();
  format = SaveFormat::kIes2019;
  source.SaveIes(*this);
  std::istringstream lines(Contents(path));
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(line, "IES:LM-63-2019\r");
  for (const char* keyword : {"[TEST] ", "[TESTLAB] ", "[ISSUEDATE] ", "[MANUFAC] ERCO GmbH\r"}) {
    std::getline(lines, line);
    EXPECT_EQ(line.substr(0, std::string(keyword).size()), keyword);
  }
  while (std::getline(lines, line) && line.rfind("TILT=", 0) != 0) EXPECT_EQ(line[0], '[') << line;
  EXPECT_EQ(line, "TILT=NONE\r");
  std::getline(lines, line);
  EXPECT_EQ(line, "1 -1.0 1 181 1 1 1 0.0 0.0 0.0\r");
  std::getline(lines, line);
  EXPECT_EQ(line, "1.0 1.00010 6.9\r");
  ASSERT_TRUE(back.LoadIes(*this));
  ExpectSameCurve(back.curve, source.curve);
}

}  // namespace
