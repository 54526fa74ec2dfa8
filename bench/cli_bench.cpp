// lumistra-cli's work on a library of files, one core:
//   - info --json on 1000 corpus files (the corpus's usable files in turn),
//     against the first-plane version it replaces (the numbers of the
//     editor's curve, as info gave them before it measured every plane), and
//     against only opening them as File > Open does: what the numbers and the
//     JSON add to the reading;
//   - the numbers of one curve, against the straightforward formula that
//     takes the two cosines of each zone every time;
//   - render of 100 files at 800 x 400 (open, fit, both views), and the PNG
//     encoding of those 100 pictures counted apart, with the encoder's
//     settings (ours) and with zlib's default strategy, stronger levels and
//     the other row filters;
//   - `lumistra-cli render` of every usable corpus file into a folder, all
//     of it: reading, drawing, encoding and writing.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "measure/curve_numbers.h"
#include "cli/png_image.h"
#include "editor/distribution_editor.h"
#include "editor/fit_view.h"
#include "files/editor_curve.h"
#include "files/file_commands.h"
#include "files/owner_window.h"
#include "render/polar_view.h"
#include "render/wall_view.h"

namespace {

class Discard : public Console {
 public:
  size_t bytes = 0;
  void Out(std::string_view text) override { bytes += text.size(); }
  void Err(std::string_view text) override { bytes += text.size(); }
};

class Quiet : public OwnerWindow {
 public:
  std::optional<std::string> ChooseSaveFile(std::string_view, SaveFormat) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseOpenFile(std::string_view) override { return std::nullopt; }
  void ShowMessage(std::string_view, std::string_view) override {}
  bool AskYesNo(std::string_view, std::string_view) override { return false; }
};

// File > Open of `path` onto the editor's curve, without a message.
bool OpenQuietly(DistributionEditor& editor, const std::string& path) {
  Quiet owner;
  const std::optional<PhotometricFile> file = ReadPhotometricPath(owner, path);
  if (file) editor.curve = EditorCurve(file->table);
  return file.has_value();
}

// `count` paths, the corpus's usable files in turn; 0: each usable file once.
std::vector<std::string> CorpusPaths(size_t count) {
  std::vector<std::string> usable;
  for (const auto& entry : std::filesystem::directory_iterator(IES_CORPUS_DIR)) {
    DistributionEditor editor;
    if (entry.path().extension() == ".ies" && OpenQuietly(editor, entry.path().string())) {
      usable.push_back(entry.path().string());
    }
  }
  std::sort(usable.begin(), usable.end());
  if (count == 0) return usable;
  std::vector<std::string> paths;
  for (size_t i = 0; i < count; ++i) paths.push_back(usable[i % usable.size()]);
  return paths;
}

void BM_InfoJson1000(benchmark::State& state) {
  std::vector<std::string> args = {"info", "--json"};
  for (std::string& path : CorpusPaths(1000)) args.push_back(std::move(path));
  for (auto _ : state) {
    Discard console;
    benchmark::DoNotOptimize(RunCli(args, console));
  }
}
BENCHMARK(BM_InfoJson1000)->Unit(benchmark::kMillisecond);

// info --json as it was: each file opened as File > Open does, the numbers
// of the editor's curve, one JSON line of them.
void AppendNumber(std::string& out, double value) {
  char buffer[32];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  if (error == std::errc()) out.append(buffer, end);
}

void BM_InfoJsonFirstPlane1000(benchmark::State& state) {
  const std::vector<std::string> paths = CorpusPaths(1000);
  for (auto _ : state) {
    Discard console;
    std::string out;
    for (const std::string& path : paths) {
      out.clear();
      DistributionEditor editor;
      if (!OpenQuietly(editor, path)) continue;
      const CurveNumbers n = MeasureCurve(editor.curve);
      out += "{\"file\":\"" + path + "\",\"ok\":true,\"message\":null,\"peak_cd\":";
      AppendNumber(out, n.peakCd);
      out += ",\"peak_angle\":" + std::to_string(n.peakAngle) + ",\"flux_lm\":";
      AppendNumber(out, n.fluxLm);
      out += ",\"beam_angle\":";
      n.beamAngle ? AppendNumber(out, *n.beamAngle) : void(out += "null");
      out += ",\"field_angle\":";
      n.fieldAngle ? AppendNumber(out, *n.fieldAngle) : void(out += "null");
      out += "}\n";
      console.Out(out);
    }
    benchmark::DoNotOptimize(console.bytes);
  }
}
BENCHMARK(BM_InfoJsonFirstPlane1000)->Unit(benchmark::kMillisecond);

void BM_OpenOnly1000(benchmark::State& state) {
  const std::vector<std::string> paths = CorpusPaths(1000);
  for (auto _ : state) {
    for (const std::string& path : paths) {
      DistributionEditor editor;
      benchmark::DoNotOptimize(OpenQuietly(editor, path));
    }
  }
}
BENCHMARK(BM_OpenOnly1000)->Unit(benchmark::kMillisecond);

Curve SomeCurve() {
  Curve curve{};
  for (size_t i = 0; i < curve.size(); ++i) {
    curve[i] = static_cast<float>(30.0 * std::cos(static_cast<double>(i) * 0.0174) + 31.3);
  }
  return curve;
}

void BM_MeasureCurve(benchmark::State& state) {
  const Curve curve = SomeCurve();
  for (auto _ : state) benchmark::DoNotOptimize(MeasureCurve(curve));
}
BENCHMARK(BM_MeasureCurve);

// The flux as the formula reads, two cosines a zone (the angles are ours).
double StraightforwardFlux(const Curve& curve) {
  double flux = 0.0;
  for (int i = 0; i < kCurveSampleCount; ++i) {
    const double v = curve[static_cast<size_t>(i)];
    const double from = std::max(0.0, i - 0.5) * std::numbers::pi / 180.0;
    const double to = std::min(180.0, i + 0.5) * std::numbers::pi / 180.0;
    flux += v * v * 2.0 * std::numbers::pi * (std::cos(from) - std::cos(to));
  }
  return flux;
}

void BM_MeasureCurveStraightforward(benchmark::State& state) {
  const Curve curve = SomeCurve();
  for (auto _ : state) {
    benchmark::DoNotOptimize(StraightforwardFlux(curve));
    benchmark::DoNotOptimize(MeasureCurve(curve).beamAngle);  // peak and angles as ours
  }
}
BENCHMARK(BM_MeasureCurveStraightforward);

void RenderLikeTheWindow(const std::string& path, Image& client) {
  DistributionEditor editor;
  editor.OnResize(client.width, client.height);
  OpenQuietly(editor, path);
  FitViewToCurve(editor);
  DrawPolar(editor, client);
  DrawWall(editor, client);
}

void BM_Render100(benchmark::State& state) {
  const std::vector<std::string> paths = CorpusPaths(100);
  Image client(800, 400);
  for (auto _ : state) {
    for (const std::string& path : paths) RenderLikeTheWindow(path, client);
    benchmark::DoNotOptimize(client.pixels.data());
  }
}
BENCHMARK(BM_Render100)->Unit(benchmark::kMillisecond);

// Encoding the 100 pictures of BM_Render100 at zlib level state.range(0),
// with the row filter state.range(1) (PngRowFilter) and zlib's run-length
// strategy where state.range(2) is 1. The first row is lumistra-cli's.
void BM_EncodePng100(benchmark::State& state) {
  std::vector<Image> pictures;
  for (const std::string& path : CorpusPaths(100)) {
    pictures.emplace_back(800, 400);
    RenderLikeTheWindow(path, pictures.back());
  }
  PngEncoder encoder(PngSettings{static_cast<int>(state.range(0)), static_cast<PngRowFilter>(state.range(1)),
                                 state.range(2) == 1});
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const Image& picture : pictures) bytes += encoder.Encode(picture).size();
  }
  state.counters["kB_per_png"] = static_cast<double>(bytes) / 100.0 / 1000.0;
}
BENCHMARK(BM_EncodePng100)
    ->ArgNames({"level", "filter", "rle"})
    ->Args({1, 2, 1})
    ->Args({1, 2, 0})
    ->Args({6, 2, 0})
    ->Args({1, 0, 1})
    ->Args({1, 1, 1})
    ->Args({1, 4, 1})
    ->Unit(benchmark::kMillisecond);

// `lumistra-cli render` of every usable corpus file at its default size into
// a fresh folder; items are files, so 1 / items_per_second is the time a file.
void BM_CliRenderCorpus(benchmark::State& state) {
  const std::vector<std::string> paths = CorpusPaths(0);
  const auto folder = std::filesystem::temp_directory_path() / ("lumistra-bench-" + std::to_string(getpid()));
  std::vector<std::string> args = {"render"};
  args.insert(args.end(), paths.begin(), paths.end());
  args.insert(args.end(), {"-o", folder.string()});
  for (auto _ : state) {
    Discard console;
    benchmark::DoNotOptimize(RunCli(args, console));
  }
  std::filesystem::remove_all(folder);
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(paths.size()));
}
BENCHMARK(BM_CliRenderCorpus)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
