// check: crafted files with one fault each against the rule they must trip,
// the writers' own files clean, and the JSON form.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "check/file_check.h"
#include "cli/cli.h"
#include "support/window_files.h"
#include "editor/distribution_editor.h"
#include "files/file_commands.h"
#include "files/owner_window.h"
#include "measure/curve_numbers.h"
#include "measure/lamp_numbers.h"
#include "measure/lamp_shaping.h"

namespace {

// Clean files of both formats: one plane of 100, 80 and 0 cd (per klm of a
// 1000 lm lamp) at 0, 45 and 90 degrees, 327.7 lm.
constexpr std::string_view kCleanIes =
    "IES:LM-63-2019\n[TEST] T1\n[TESTLAB] Lab\n[ISSUEDATE] 2026-01-01\n[MANUFAC] Maker\n"
    "TILT=NONE\n1 1000 1 3 1 1 1 0 0 0\n1 1.00000 10\n0 45 90\n0\n100 80 0\n";
constexpr std::string_view kCleanLdt =
    "Maker\n1\n1\n1\n0\n3\n45\nR1\nLum\nN1\nf.ldt\n2026-01-01\n0\n0\n0\n0\n0\n0\n0\n0\n0\n"
    "100\n32.8\n1\n0\n1\n1\nLED\n1000\n3000K\n80\n10\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n"
    "0\n0\n45\n90\n100\n80\n0\n";

struct Fault {
  std::string_view clean;  // kCleanIes or kCleanLdt
  std::string_view from;   // the text changed (its first occurrence)
  std::string_view to;
  std::string_view rule;  // the rule it must trip
  Severity severity;
};

// "3_negative_intensity"
std::string RowName(const testing::TestParamInfo<Fault>& row) {
  std::string name = std::to_string(row.index) + "_" + std::string(row.param.rule);
  std::ranges::replace(name, '-', '_');
  return name;
}

constexpr Severity E = Severity::kError, W = Severity::kWarning;
const std::string kLongLine = "[TEST] " + std::string(300, 'x');

class FaultTest : public testing::TestWithParam<Fault> {};

TEST_P(FaultTest, TripsItsRule) {
  const Fault& fault = GetParam();
  std::string text(fault.clean);
  ASSERT_NE(text.find(fault.from), std::string::npos);
  text.replace(text.find(fault.from), fault.from.size(), fault.to);
  const FileCheck check = CheckFileText(text, fault.clean == kCleanLdt ? "f.ldt" : "f.ies");
  std::string found;
  for (const Finding& f : check.findings) found += f.rule + ": " + f.message + "\n";
  EXPECT_TRUE(std::ranges::any_of(check.findings, [&](const Finding& f) {
    return f.rule == fault.rule && f.severity == fault.severity;
  })) << found;
  // A doubtful file is no broken one.
  EXPECT_EQ(check.HasError(), fault.severity == E) << found;
}

INSTANTIATE_TEST_SUITE_P(
    Lm63, FaultTest,
    testing::Values(
        Fault{kCleanIes, "IES:LM-63-2019", "IES:LM-63-2020", "version-line", E},
        Fault{kCleanIes, "[TESTLAB] Lab\n", "", "keyword-required", E},
        Fault{kCleanIes, "[MANUFAC] Maker\n", "[MANUFAC] Maker\n[DATE] 2020\n", "keyword-undefined",
              E},
        Fault{kCleanIes, "[TESTLAB] Lab", "[TESTLAB] ", "keyword-empty", W},
        Fault{kCleanIes, "[TEST] T1", kLongLine, "line-length", E},
        Fault{kCleanIes, "TILT=NONE", "TILT=", "tilt", E},
        Fault{kCleanIes, "TILT=NONE", "TILT=INCLUDE\n4 1 0 1", "tilt", E},  // geometry 4
        Fault{kCleanIes, "3 1 1 1 0", "3 1 4 1 0", "photometric-type", E},
        Fault{kCleanIes, "1 1 1 0 0 0", "1 1 3 0 0 0", "units", E},
        Fault{kCleanIes, "1000 1 3 1", "1000 1 4 1", "counts", E},  // one angle short
        Fault{kCleanIes, "0 45 90\n", "0 90 45\n", "angles-ascending", E},
        Fault{kCleanIes, "0 45 90\n", "0 45 80\n", "vertical-range", E},
        Fault{kCleanIes, "90\n0\n", "90\n10\n", "horizontal-range", E},
        Fault{kCleanIes, "100 80 0", "100 -80 0", "negative-intensity", E},
        Fault{kCleanIes, "1 1.00000", "1 1.20000", "file-generation-type", E},
        Fault{kCleanIes, "1 1.00000", "0 1.00000", "ballast-factor", E},
        Fault{kCleanIes, "1000 1 3", "1000 0 3", "multiplier", E},
        Fault{kCleanIes, "1 1000 1", "1 100 1", "lor-above-one", W},  // 327.7 lm from 100
        Fault{kCleanIes, "100 80 0", "100 80 0 5", "counts", W},      // a number too many
        Fault{kCleanIes, "100 80 0", "1E2 80 0", "renderer-exponent", W},
        Fault{kCleanIes, "100 80 0", "100 80 0\nfin", "renderer-trailing", W},
        Fault{kCleanIes, "TILT=NONE", "TILT=INCLUDE\n1 2 0 90 1 1", "renderer-tilt", W},
        Fault{kCleanIes, "1 1.00000", "1 1.10000", "renderer-file-generation", W},
        Fault{kCleanIes, "3 1 1 1 0 0 0\n1 1.00000 10\n0 45 90\n0\n100 80 0",
              "3 2 1 1 0 0 0\n1 1.00000 10\n0 45 90\n0 90\n100 80 0\n90 80 0", "renderer-planes",
              W}),
    RowName);

INSTANTIATE_TEST_SUITE_P(
    Eulumdat, FaultTest,
    testing::Values(Fault{kCleanLdt, "Maker\n1\n", "Maker\n7\n", "type-indicator", E},
                    Fault{kCleanLdt, "Maker\n1\n1\n", "Maker\n1\n5\n", "symmetry-indicator", E},
                    Fault{kCleanLdt, "Maker\n1\n1\n", "Maker\n1\n2\n", "symmetry-planes",
                          E},  // Mc 1
                    Fault{kCleanLdt, "\n3\n45\n", "\n3\n30\n", "gamma-distance", E},
                    Fault{kCleanLdt, "\nLum\n",
                          "\nLum with a name of more than seventy-eight characters, "
                          "which the format has no room for\n",
                          "text-length", E},
                    Fault{kCleanLdt, "100\n32.8\n1\n", "100\n32.8\n0\n", "conversion-factor", E},
                    Fault{kCleanLdt, "LED\n1000\n", "LED\n0\n", "lamp-flux", E},
                    Fault{kCleanLdt, "\n32.8\n", "\n132.8\n", "ratio-range", E},
                    Fault{kCleanLdt, "\n100\n80\n0\n", "\n100\n-80\n0\n", "negative-intensity", E},
                    Fault{kCleanLdt, "\n45\n90\n100\n", "\n90\n45\n100\n", "angles-ascending", E},
                    Fault{kCleanLdt, "\n80\n0\n", "\n80\n", "layout", E},  // cut short
                    Fault{kCleanLdt, "\n32.8\n", "\n40\n", "flux-stated", W},
                    Fault{kCleanLdt, "100\n32.8\n1\n", "100\n32.8\n10\n", "lor-above-one", W},
                    Fault{kCleanLdt, "\n80\n0\n", "\n80\n0\n7\n", "counts", W}),
    RowName);

TEST(CleanFileTest, CleanFilesHaveNoFindings) {
  EXPECT_TRUE(CheckFileText(kCleanIes, "f.ies").findings.empty());
  EXPECT_TRUE(CheckFileText(kCleanLdt, "f.ldt").findings.empty());
}

class SilentOwner : public OwnerWindow {
 public:
  std::optional<std::string> ChooseSaveFile(std::string_view, SaveFormat) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseOpenFile(std::string_view) override { return std::nullopt; }
  void ShowMessage(std::string_view, std::string_view) override {}
  bool AskYesNo(std::string_view, std::string_view) override { return true; }
};

// What Save and convert write passes check, but for the notes about values
// a file must carry truthfully: a laboratory's file-generation type, and
// planes that differ.
void ExpectOwnOutputsClean(const Document& document, const std::string& source) {
  for (const auto& [format, name] :
       {std::pair{SaveFormat::kIes, "out.ies"}, std::pair{SaveFormat::kIes2019, "out.ies"},
        std::pair{SaveFormat::kEulumdat, "out.ldt"}}) {
    const FileCheck check = CheckFileText(document.Bytes(format, name), name);
    for (const Finding& f : check.findings) {
      EXPECT_TRUE(f.rule == "renderer-file-generation" || f.rule == "renderer-planes")
          << source << " as " << name << " (" << static_cast<int>(format) << "): " << f.rule << ": "
          << f.message;
    }
  }
}

TEST(OwnOutputTest, EveryFileSavedInEveryFormatIsClean) {
  ExpectOwnOutputsClean(Document(), "a drawn lamp");
  for (const char* folder : {IES_CORPUS_DIR, LDT_DIR}) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string path = entry.path().string();
      DistributionEditor editor;
      SilentOwner owner;
      Document document;
      if (!entry.is_regular_file() || !OpenCurve(editor, owner, path, &document)) continue;
      ExpectOwnOutputsClean(document, path);
      const LampResult brighter =
          LampScaledToFlux(document.lamp(), 2.0 * MeasureLamp(document.lamp()).fluxLm);
      if (!brighter.lamp) continue;
      document.Scale(*brighter.lamp);  // as convert --lumens writes it
      ExpectOwnOutputsClean(document, path + " scaled");
    }
  }
}

class RecordingConsole : public Console {
 public:
  std::string out, err;
  void Out(std::string_view text) override { out += text; }
  void Err(std::string_view text) override { err += text; }
};

TEST(CheckJsonTest, OneObjectPerFileWithRulesAndNumbers) {
  const std::string path = IES_CORPUS_DIR "/iesna91-mdl-typeb.ies";
  RecordingConsole console;
  const std::vector<std::string> args = {"check", "--json", path};
  EXPECT_EQ(RunCli(args, console), kExitUnusable);
  EXPECT_EQ(
      console.out,
      "{\"file\":\"" + path +
          "\",\"format\":\"LM-63-1991\",\"errors\":["
          "{\"rule\":\"keyword-required\",\"message\":\"[TEST] is missing: LM-63-1991 requires "
          "it before TILT= (line 2)\"},{\"rule\":\"lumens\",\"message\":\"line 3 gives 0 lumens "
          "per lamp, neither positive nor -1 (absolute photometry)\"}],\"warnings\":[],"
          "\"peak_cd\":null,\"peak_angle\":null,\"flux_lm\":null,\"beam_angle\":null,"
          "\"field_angle\":null,\"planes\":null,\"symmetry\":null,\"peak_c\":null,"
          "\"lamp_lumens\":null,\"lor\":null}\n");
}

}  // namespace
