// lumistra-cli's command lines, run in-process against a recording console in
// a folder of their own: exit codes, usage errors, an unusable file among good
// ones, the JSON lines, a render of several files into a folder, and convert.
#include "cli/cli.h"
#include "support/window_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <regex>
#include <sstream>
#include <vector>

#include "measure/curve_numbers.h"
#include "editor/distribution_editor.h"
#include "editor/fit_view.h"
#include "files/file_commands.h"
#include "files/owner_window.h"
#include "measure/lamp_numbers.h"
#include "render/polar_view.h"
#include "render/wall_view.h"
#include "png_reading.h"

namespace fs = std::filesystem;

namespace {

class RecordingConsole : public Console {
 public:
  std::string out, err;
  void Out(std::string_view text) override { out += text; }
  void Err(std::string_view text) override { err += text; }
};

class SaveTo : public OwnerWindow {
 public:
  explicit SaveTo(std::string path) : path_(std::move(path)) {}
  std::optional<std::string> ChooseSaveFile(std::string_view, SaveFormat) override { return path_; }
  std::optional<std::string> ChooseOpenFile(std::string_view) override { return std::nullopt; }
  void ShowMessage(std::string_view, std::string_view) override {}
  bool AskYesNo(std::string_view, std::string_view) override { return true; }

 private:
  std::string path_;
};

std::string Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The editor as the window has it right after opening `path` at w x h.
void OpenLikeTheWindow(DistributionEditor& editor, const std::string& path, int w, int h) {
  SaveTo owner("");
  editor.OnResize(w, h);
  ASSERT_TRUE(OpenCurve(editor, owner, path)) << path;
  FitViewToCurve(editor);
}

// The PNG at `png` has exactly the pixels the window shows for `ies`.
void ExpectWindowPixels(const fs::path& png, const std::string& ies, int w, int h) {
  DistributionEditor editor;
  OpenLikeTheWindow(editor, ies, w, h);
  Image client(w, h);
  DrawPolar(editor, client);
  DrawWall(editor, client);
  const std::optional<RgbPicture> picture = ReadPngFile(png.string());
  ASSERT_TRUE(picture.has_value()) << png;
  ASSERT_EQ(picture->width, w);
  ASSERT_EQ(picture->height, h);
  const uint8_t* rgb = picture->rgb.data();
  size_t differing = 0;
  for (size_t i = 0; i < client.pixels.size(); ++i) {
    const uint32_t p = client.pixels[i];
    const uint32_t q = uint32_t{rgb[3 * i]} << 16 | uint32_t{rgb[3 * i + 1]} << 8 | rgb[3 * i + 2];
    differing += (p & 0xFFFFFFu) != q;
  }
  EXPECT_EQ(differing, 0u) << png;
}

const std::string kCorpus = IES_CORPUS_DIR;
const std::string kGood1 = kCorpus + "/lm63-2019-nvidia-example.ies";
const std::string kGood2 = kCorpus + "/lm63-1995-erco-spot.ies";
const std::string kTypeB = kCorpus + "/iesna91-mdl-typeb.ies";

struct CliRun {
  fs::path dir;
  int status = -1;
  RecordingConsole console;
};

void ExpectBeamAndFlux(const fs::path& file, double beam, double lumens) {
  SaveTo owner("");
  const std::optional<PhotometricFile> read = ReadPhotometricPath(owner, file.string());
  ASSERT_TRUE(read);
  const LampMeasurement m = MeasureLamp(read->table);
  ASSERT_TRUE(m.numbers && m.numbers->beamAngle);
  EXPECT_NEAR(*m.numbers->beamAngle, beam, 0.1);
  EXPECT_NEAR(m.numbers->fluxLm, lumens, 1e-3 * lumens);
}

struct CliCase {
  const char* name;
  // "@" in an argument stands for the run's folder, which holds lamp.ies (a
  // copy of kGood1) and link.ies (a symbolic link to it).
  std::vector<std::string> args;
  int status;
  std::string outRegex;  // the whole standard output
  std::string errRegex;  // the whole standard error
  std::function<void(const CliRun&)> check = nullptr;
};

// The usage: a line per command and one for --help and --version.
const std::string kUsageLines = R"(Usage: lumistra-cli info \[--json\] FILE\.\.\.\n(.*\n){5})";
const std::string kNum = R"(-?[0-9.]+(e[-+]?[0-9]+)?)";
const std::string kJsonGood = R"(\{"file":"[^"]+","ok":true,"message":null,"peak_cd":)" + kNum +
                              R"(,"peak_angle":)" + kNum + R"(,"flux_lm":)" + kNum + R"(,"beam_angle":()" +
                              kNum + R"(|null),"field_angle":()" + kNum + R"(|null),"planes":[0-9]+,)" +
                              R"("symmetry":"[a-z0-9-]+","peak_c":)" + kNum + R"(,"lamp_lumens":()" + kNum +
                              R"(|null),"lor":()" + kNum + R"(|null)\}\n)";
const std::string kJsonBad =
    R"(\{"file":"[^"]+","ok":false,"message":"iesna91-mdl-typeb\.ies is not a usable IES file: [^"]+",)"
    R"("peak_cd":null,"peak_angle":null,"flux_lm":null,"beam_angle":null,"field_angle":null,)"
    R"("planes":null,"symmetry":null,"peak_c":null,"lamp_lumens":null,"lor":null\}\n)";
const std::string kTypeBMessage = R"(.*/iesna91-mdl-typeb\.ies: iesna91-mdl-typeb\.ies is not a usable IES file: .*\n)";

// The run folder's input is as it was.
void LampKept(const CliRun& run) { EXPECT_EQ(Contents(run.dir / "lamp.ies"), Contents(kGood1)); }

class CliTest : public testing::TestWithParam<CliCase> {};

TEST_P(CliTest, Runs) {
  const CliCase& c = GetParam();
  CliRun run;
  run.dir = fs::temp_directory_path() / ("lumistra_cli_" + std::to_string(getpid()) + "_" + c.name);
  fs::remove_all(run.dir);
  fs::create_directories(run.dir);
  fs::copy_file(kGood1, run.dir / "lamp.ies");
  fs::create_symlink("lamp.ies", run.dir / "link.ies");
  std::vector<std::string> args;
  for (std::string arg : c.args) {
    if (const size_t at = arg.find('@'); at != std::string::npos) arg.replace(at, 1, run.dir.string());
    args.push_back(arg);
  }
  run.status = RunCli(args, run.console);
  EXPECT_EQ(run.status, c.status);
  EXPECT_TRUE(std::regex_match(run.console.out, std::regex(c.outRegex))) << run.console.out;
  EXPECT_TRUE(std::regex_match(run.console.err, std::regex(c.errRegex))) << run.console.err;
  if (c.check) c.check(run);
  fs::remove_all(run.dir);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CliTest,
    testing::Values(
        CliCase{"Version", {"--version"}, 0, "lumistra-cli 4\\.0\\.0\n", ""},
        // --help wins wherever it stands, even after a usage error.
        CliCase{"HelpAfterCommand", {"render", "--bogus", "-h"}, 0, kUsageLines + "(.*\n)+", ""},
        // Usage errors: status 2, the reason and the usage on standard error.
        CliCase{"NoCommand", {}, 2, "", "lumistra-cli: no command given\n" + kUsageLines},
        CliCase{"UnknownCommand", {"show", kGood1}, 2, "", "lumistra-cli: unknown command \"show\"\n" + kUsageLines},
        CliCase{"UnknownOption", {"info", "--jsn", kGood1}, 2, "", ".*unknown option \"--jsn\" for info\n" + kUsageLines},
        CliCase{"OptionOfAnotherCommand", {"info", "--size", "10x10", kGood1}, 2, "", ".*unknown option \"--size\".*\n" + kUsageLines},
        CliCase{"NoFile", {"info", "--json"}, 2, "", ".*info needs a FILE\n" + kUsageLines},
        CliCase{"RenderWithoutOutput", {"render", kGood1}, 2, "", ".*render needs -o\n" + kUsageLines},
        CliCase{"OutputWithoutName", {"convert", kGood1, "-o"}, 2, "", ".*-o needs a file name\n" + kUsageLines},
        CliCase{"ConvertOfTwo", {"convert", kGood1, kGood2, "-o", "@/x.ies"}, 2, "", ".*convert takes one FILE\n" + kUsageLines},
        CliCase{"SizeZero", {"render", "--size", "0x400", kGood1, "-o", "@/a.png"}, 2, "", ".*--size needs WxH.*\n" + kUsageLines},
        CliCase{"SizeNotNumbers", {"render", "--size", "800x", kGood1, "-o", "@/a.png"}, 2, "", ".*--size needs WxH.*\n" + kUsageLines},
        CliCase{"SizeTooLarge", {"render", "--size", "32767x32767", kGood1, "-o", "@/a.png"}, 2, "", ".*--size needs WxH.*\n" + kUsageLines},
        // People's text: one labelled block per file.
        CliCase{"InfoText", {"info", kGood1}, 0,
                ".*/lm63-2019-nvidia-example\\.ies\n"
                "  planes          1 \\(rotationally symmetric\\)\n"
                "  peak intensity  9000\\.000 cd at C 0, gamma 0 degrees\n"
                "  luminous flux   [0-9]+\\.[0-9]{3} lm\n"
                "  beam angle      33\\.571 degrees\n"
                "  field angle     106\\.667 degrees\n", ""},
        // An unusable file among good ones: the good ones still give their
        // numbers, the bad one its message (stderr and JSON), status 1.
        CliCase{"InfoJsonWithUnusable", {"info", "--json", kGood1, kTypeB, kGood2}, 1,
                kJsonGood + kJsonBad + kJsonGood, kTypeBMessage,
                [](const CliRun& run) {
                  // The peak as the file lists it; the flux of a one-plane file
                  // is its curve's, at full precision: the same double.
                  EXPECT_NE(run.console.out.find("\"peak_cd\":9000,"), std::string::npos);
                  DistributionEditor editor;
                  OpenLikeTheWindow(editor, kGood1, 800, 400);
                  const CurveNumbers n = MeasureCurve(editor.curve);
                  const size_t at = run.console.out.find("\"flux_lm\":") + 10;
                  EXPECT_EQ(std::strtod(run.console.out.c_str() + at, nullptr), n.fluxLm);
                }},
        CliCase{"InfoMissingFile", {"info", "--json", "@/none.ies"}, 1,
                R"(\{"file":".*/none\.ies","ok":false,"message":"Could not open none\.ies: No such file or directory\.".*\}\n)",
                ".*/none\\.ies: Could not open none\\.ies: No such file or directory\\.\n"},
        // Several files into a folder that does not exist yet: <stem>.png
        // each, the window's pixels, none for the unusable file.
        CliCase{"RenderIntoFolder", {"render", "--size", "300x200", kGood1, kTypeB, kGood2, "-o", "@/pictures"}, 1,
                "", kTypeBMessage,
                [](const CliRun& run) {
                  const fs::path folder = run.dir / "pictures";
                  ExpectWindowPixels(folder / "lm63-2019-nvidia-example.png", kGood1, 300, 200);
                  ExpectWindowPixels(folder / "lm63-1995-erco-spot.png", kGood2, 300, 200);
                  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
                }},
        CliCase{"RenderOneFile", {"render", kGood2, "-o", "@/spot.png"}, 0, "", "",
                [](const CliRun& run) { ExpectWindowPixels(run.dir / "spot.png", kGood2, 800, 400); }},
        // The bytes File > Save writes for the curve File > Open reads.
        CliCase{"ConvertWritesSavesBytes", {"convert", kGood1, "-o", "@/clean.ies"}, 0, "", "",
                [](const CliRun& run) {
                  DistributionEditor editor;
                  Document document;
                  SaveTo owner((run.dir / "saved.ies").string());
                  ASSERT_TRUE(OpenCurve(editor, owner, kGood1, &document));
                  SaveCurve(editor, owner, {}, &document);
                  EXPECT_EQ(Contents(run.dir / "clean.ies"), Contents(run.dir / "saved.ies"));
                }},
        CliCase{"ConvertIntoMissingFolder", {"convert", kGood1, "-o", "@/no/such/clean.ies"}, 1, "",
                "lumistra-cli: cannot write .*/no/such/clean\\.ies: No such file or directory\n"},
        // An output that is an input is refused before anything is written;
        // a picture's name gets .png, so it is never the input.
        CliCase{"RenderNextToItsInput", {"render", "@/lamp.ies", "-o", "@/lamp.ies"}, 0, "", "",
                [](const CliRun& run) {
                  LampKept(run);
                  EXPECT_TRUE(fs::exists(run.dir / "lamp.ies.png"));
                }},
        CliCase{"ConvertOverALinkToItsInput", {"convert", "@/lamp.ies", "-o", "@/link"}, 2, "",
                ".*the output .*/link\\.ies is the input .*\n" + kUsageLines, LampKept},
        CliCase{"RenderTwoOfOneName", {"render", "@/a/lamp.ies", "@/b/Lamp.ies", "-o", "@/pics"}, 2, "",
                ".*/a/lamp\\.ies and .*/b/Lamp\\.ies would both be written to .*/pics/lamp\\.png\n" +
                    kUsageLines,
                [](const CliRun& run) { EXPECT_FALSE(fs::exists(run.dir / "pics")); }},
        // Save's name rule, for pictures too.
        CliCase{"RenderAddsPng", {"render", kGood1, "-o", "@/shot"}, 0, "", "",
                [](const CliRun& run) { ExpectWindowPixels(run.dir / "shot.png", kGood1, 800, 400); }},
        CliCase{"RenderKeepsPngOfAnyCase", {"render", kGood1, "-o", "@/shot.PNG"}, 0, "", "",
                [](const CliRun& run) { EXPECT_TRUE(fs::exists(run.dir / "shot.PNG")); }},
        CliCase{"ConvertShortName", {"convert", kGood1, "-o", "@/ab"}, 0, "", "",
                [](const CliRun& run) { EXPECT_TRUE(fs::exists(run.dir / "ab.ies")); }},
        // An option's value is never taken for an option.
        CliCase{"SizeValueLooksLikeHelp", {"render", "--size", "-h", kGood1, "-o", "@/a.png"}, 2, "",
                ".*--size needs WxH.*\n" + kUsageLines},
        CliCase{"ConvertUnusable", {"convert", kTypeB, "-o", "@/clean.ies"}, 1, "", kTypeBMessage,
                [](const CliRun& run) { EXPECT_FALSE(fs::exists(run.dir / "clean.ies")); }},
        CliCase{"ConvertTo2019", {"convert", "--lm63-2019", kGood1, "-o", "@/std"}, 0, "", "",
                [](const CliRun& run) {
                  EXPECT_EQ(Contents(run.dir / "std.ies").substr(0, 22), "IES:LM-63-2019\r\n[TEST]");
                }},
        CliCase{"ScaleNotPositive", {"convert", "--peak", "-5", kGood1, "-o", "@/x.ies"}, 2, "",
                ".*--peak needs a positive number\n" + kUsageLines},
        // A peak below what six decimals show would write a file without light.
        CliCase{"PeakTooSmallToWrite", {"convert", "--peak", "0.0000004", kGood1, "-o", "@/x.ies"}, 1, "",
                ".*which a lamp file writes as 0\\.\n",
                [](const CliRun& run) { EXPECT_FALSE(fs::exists(run.dir / "x.ies")); }},
        CliCase{"EulumdatOf2019", {"convert", "--lm63-2019", kGood1, "-o", "@/x.LDT"}, 2, "",
                ".*--lm63-2019 writes an .ies file, not .*\n" + kUsageLines},
        // The beam and the flux asked, as info measures the written file.
        CliCase{"NewSpot", {"new", "--beam", "30", "--lumens", "1500", "-o", "@/spot"}, 0, "", "",
                [](const CliRun& run) { ExpectBeamAndFlux(run.dir / "spot.ies", 30, 1500); }},
        // What EULUMDAT has no place for is said before the file is written.
        CliCase{"ConvertBeamBeforeLumens", {"convert", "--lumens", "2000", "--beam", "45", kGood2, "-o", "@/wide.ldt"},
                0, "", "lumistra-cli: .*wide\\.ldt: The file will not hold the lines \\[LAMPCAT\\]: .*\n", [](const CliRun& run) { ExpectBeamAndFlux(run.dir / "wide.ldt", 45, 2000); }},
        CliCase{"NewNeedsBeam", {"new", "--lumens", "100", "-o", "@/x.ies"}, 2, "", ".*new needs --beam\n" + kUsageLines},
        CliCase{"BeamOutOfRange", {"new", "--beam", "171", "-o", "@/x.ies"}, 2, "",
                ".*--beam needs a number from 2 to 170\n" + kUsageLines}),
    [](const testing::TestParamInfo<CliCase>& row) { return row.param.name; });

// A constant curve of I cd gives 4 pi I lm, so --lumens 1000 makes every
// intensity 1000 / (4 pi) cd; the .LDT output is EULUMDAT.
TEST(CliConvert, LumensScaleAConstantCurve) {
  const fs::path dir = fs::temp_directory_path() / ("lumistra_cli_lumens_" + std::to_string(getpid()));
  fs::create_directories(dir);
  DistributionEditor editor;
  editor.curve.fill(3.0f);
  SaveTo owner((dir / "flat.ies").string());
  SaveCurve(editor, owner);
  RecordingConsole console;
  const std::vector<std::string> args = {"convert", "--lumens", "1000", (dir / "flat.ies").string(),
                                         "-o", (dir / "flat.LDT").string()};
  EXPECT_EQ(RunCli(args, console), kExitOk) << console.err;
  EXPECT_EQ(Contents(dir / "flat.LDT").substr(0, 10), "Lumistra\r\n");
  ASSERT_TRUE(OpenCurve(editor, owner, (dir / "flat.LDT").string()));
  for (float sample : editor.curve) EXPECT_NEAR(sample * sample, 1000.0 / (4.0 * std::numbers::pi), 1e-4);
  fs::remove_all(dir);
}

}  // namespace
