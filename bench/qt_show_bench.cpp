// What the Linux program adds to every pointer move besides rendering: showing
// the rendered left half. The client area wraps the renderers' image in a
// QImage without a copy; the straightforward alternative copies the image
// into a fresh QImage on every render. Both then paint the left half onto a
// window-sized surface, as the paint event does.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cstring>

#include "render/image.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 381;  // an 800 x 400 window less its menu bar

QImage Wrap(Image& image) {
  return QImage(reinterpret_cast<uchar*>(image.pixels.data()), image.width, image.height,
                static_cast<qsizetype>(image.width) * 4, QImage::Format_RGB32);
}

void PaintLeftHalf(QImage& surface, const QImage& shown) {
  QPainter painter(&surface);
  painter.setClipRect(0, 0, kWidth / 2, kHeight);
  painter.drawImage(QPoint(0, 0), shown);
}

void BM_ShowWrappedImage(benchmark::State& state) {
  Image image(kWidth, kHeight);
  QImage surface(kWidth, kHeight, QImage::Format_RGB32);
  const QImage shown = Wrap(image);  // made once, on a size event
  for (auto _ : state) {
    image.pixels[0] ^= 1u;  // a render changed the pixels
    PaintLeftHalf(surface, shown);
    benchmark::DoNotOptimize(surface.constBits());
  }
}
BENCHMARK(BM_ShowWrappedImage);

void BM_ShowCopiedImage(benchmark::State& state) {
  Image image(kWidth, kHeight);
  QImage surface(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    image.pixels[0] ^= 1u;
    QImage shown(kWidth, kHeight, QImage::Format_RGB32);
    for (int y = 0; y < kHeight; ++y)
      std::memcpy(shown.scanLine(y), &image.pixels[static_cast<size_t>(y) * kWidth], kWidth * 4);
    PaintLeftHalf(surface, shown);
    benchmark::DoNotOptimize(surface.constBits());
  }
}
BENCHMARK(BM_ShowCopiedImage);

}  // namespace
