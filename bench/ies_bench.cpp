// Writing and reading LM-63 files, each against a straightforward version
// measured in the same run:
//   - writing: "%f" through snprintf per value, appended to a string;
//   - reading: getline for the tilt line, then operator>> on an istringstream
//     (classic locale) for the numbers, the same layout rules and resampling.
// Plus a 100 MB file before whose tilt line the reader must stay in bounded
// memory, read from disk through ReadIesFile.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "files/ies_format.h"

namespace {

Curve SomeCurve() {
  Curve curve{};
  for (size_t i = 0; i < curve.size(); ++i) {
    curve[i] = static_cast<float>(30.0 * std::cos(static_cast<double>(i) * 0.0174) + 31.3);
  }
  return curve;
}

void BM_WriteIesText(benchmark::State& state) {
  const auto curve = SomeCurve();
  for (auto _ : state) benchmark::DoNotOptimize(WriteIesText(curve.data()));
}
BENCHMARK(BM_WriteIesText);

std::string PlainTrimmed(double value) {
  char text[128];
  std::snprintf(text, sizeof text, "%f", value);
  std::string s = text;
  while (s.back() == '0') s.pop_back();
  if (s.back() == '.') s += '0';
  return s;
}

std::string PlainWrite(const float* curve) {
  std::string text = "IESNA:\r\nTILT=NONE\r\n1  -1  1  181  1  1  1  0.0  0.0  0.0\r\n1.00  1.00  0\r\n";
  for (int i = 0; i < 180; ++i) text += PlainTrimmed(i) + (i % 10 == 9 ? "\r\n" : " ");
  text += "180.0\r\n0.0\r\n";
  for (int i = 0; i < 181; ++i) {
    text += PlainTrimmed(static_cast<double>(curve[i]) * curve[i]) + (i % 10 == 9 ? "\r\n" : " ");
  }
  return text;
}

void BM_WriteIesTextPlain(benchmark::State& state) {
  const auto curve = SomeCurve();
  for (auto _ : state) benchmark::DoNotOptimize(PlainWrite(curve.data()));
}
BENCHMARK(BM_WriteIesTextPlain);

// About 1 MB of keyword lines before one of our own files.
std::string LongHeaderFile() {
  std::string text = "IESNA:LM-63-2002\r\n";
  while (text.size() < 1024 * 1024) text += "[MORE] White plastic fascia with silver frame\r\n";
  const auto curve = SomeCurve();
  const std::string own = WriteIesText(curve.data());
  return text + own.substr(own.find("TILT="));
}

// About 1 MB of numbers: 181 vertical angles and 721 planes, as a
// goniophotometer with half-degree planes writes them.
std::string ManyPlanesFile() {
  std::string text = "IESNA:LM-63-2002\r\nTILT=NONE\r\n1 -1 1 181 721 1 2 0 0 0\r\n1 1 10\r\n";
  for (int v = 0; v <= 180; ++v) text += std::to_string(v) + " ";
  text += "\r\n";
  for (int h = 0; h <= 720; ++h) text += std::to_string(h * 0.5) + " ";
  text += "\r\n";
  for (int h = 0; h <= 720; ++h) {
    for (int v = 0; v <= 180; ++v) text += std::to_string(1000 + v) + ".25 ";
    text += "\r\n";
  }
  return text;
}

Curve PlainRead(const std::string& bytes) {
  std::istringstream in(bytes);
  in.imbue(std::locale::classic());
  std::string line;
  while (std::getline(in, line) && line.compare(0, 5, "TILT=") != 0) {
  }
  double header[13];
  for (double& h : header) in >> h;
  const int nv = static_cast<int>(header[3]), nh = static_cast<int>(header[4]);
  std::vector<float> angles(static_cast<size_t>(nv) + 1), values(static_cast<size_t>(nv) + 1);
  for (int i = 0; i < nv; ++i) in >> angles[static_cast<size_t>(i)];
  float skip;
  for (int i = 0; i < nh; ++i) in >> skip;
  for (int i = 0; i < nv; ++i) in >> values[static_cast<size_t>(i)];
  // The other planes are kept too, as the reader keeps them.
  std::vector<float> otherPlanes(static_cast<size_t>(nv) * static_cast<size_t>(nh - 1));
  for (float& value : otherPlanes) in >> value;
  benchmark::DoNotOptimize(otherPlanes.data());
  Curve curve{};
  size_t k = 0, n = angles.size();
  for (int d = 0; d <= 180; ++d) {
    while (k + 1 < n && static_cast<float>(d) > angles[k + 1]) ++k;
    double v = 0;
    if (k + 1 < n) {
      v = values[k] + (double(values[k + 1]) - values[k]) * (d - double(angles[k])) /
                          (double(angles[k + 1]) - angles[k]);
    }
    curve[static_cast<size_t>(d)] = std::sqrt(static_cast<float>(std::max(v, 0.0)));
  }
  return curve;
}

void BM_ReadLongHeader(benchmark::State& state) {
  const std::string text = LongHeaderFile();
  for (auto _ : state) benchmark::DoNotOptimize(ReadIesText(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadLongHeader)->Unit(benchmark::kMillisecond);

void BM_ReadLongHeaderPlain(benchmark::State& state) {
  const std::string text = LongHeaderFile();
  for (auto _ : state) benchmark::DoNotOptimize(PlainRead(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadLongHeaderPlain)->Unit(benchmark::kMillisecond);

void BM_ReadManyPlanes(benchmark::State& state) {
  const std::string text = ManyPlanesFile();
  for (auto _ : state) benchmark::DoNotOptimize(ReadIesText(text));
  state.counters["file_MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_ReadManyPlanes)->Unit(benchmark::kMillisecond);

void BM_ReadManyPlanesPlain(benchmark::State& state) {
  const std::string text = ManyPlanesFile();
  for (auto _ : state) benchmark::DoNotOptimize(PlainRead(text));
}
BENCHMARK(BM_ReadManyPlanesPlain)->Unit(benchmark::kMillisecond);

long PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;
}

// 100 MB of keyword lines, then a small file, on disk; the peak memory of the
// process is reported before and after reading it.
void BM_ReadHundredMegabytePrefixFromDisk(benchmark::State& state) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "lumistra_bench_100mb.ies";
  {
    std::FILE* out = std::fopen(path.string().c_str(), "wb");
    std::string block;
    while (block.size() < 1024 * 1024) block += "[MORE] a long description of the luminaire\r\n";
    for (int i = 0; i < 100; ++i) std::fwrite(block.data(), 1, block.size(), out);
    const std::string tail = "TILT=NONE\r\n1 -1 1 2 1 1 1 0 0 0\r\n1 1 0\r\n0 90\r\n0\r\n49 1\r\n";
    std::fwrite(tail.data(), 1, tail.size(), out);
    std::fclose(out);
  }
  const long before = PeakMegabytes();
  for (auto _ : state) {
    std::FILE* in = std::fopen(path.string().c_str(), "rb");
    benchmark::DoNotOptimize(ReadIesFile(in));
    std::fclose(in);
  }
  state.counters["peak_rss_MB_before"] = static_cast<double>(before);
  state.counters["peak_rss_MB_after"] = static_cast<double>(PeakMegabytes());
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadHundredMegabytePrefixFromDisk)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
