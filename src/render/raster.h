#pragma once
// A GDI-like drawing surface over a rectangle of an Image: a current
// position, lines, hollow ellipses and rectangles with a one-pixel pen,
// transparent text in the label font, and one-scan-line transfers.
//
// Every figure follows the rules of Windows GDI with a one-pixel cosmetic
// solid pen, R2_COPYPEN and the hollow brush (the only brush there is):
//   - LineTo lights the start pixel and not the end pixel;
//   - Rectangle and Ellipse take a box whose right column and bottom row lie
//     outside the figure, and draw the outline only;
//   - text is drawn with the top-left corner of its first cell at (x, y), and
//     only its ink is written.
//
// Coordinates are client pixels, x right and y down. Any finite value is
// accepted, however large: non-integral values are truncated toward zero,
// only the part of a figure inside the surface's area costs anything, and
// nothing outside the area (or the image) is ever written. Figures are exact
// to GDI's pixels while their end points lie within +-2^60 and ellipse boxes
// are at most 4096 pixels wide and high; beyond, lines are cut to the area in
// extended precision first, and ellipses are outlined from their equation
// (which matches GDI but for a rare pixel one step along the curve). An
// ellipse box more than two pixels wide and high (below that GDI draws a
// rectangle) is drawn only while every corner lies within +-2^51 (about
// 2.3e15, beyond any view's rings); a box reaching further draws nothing, at
// no cost.

#include <cstdint>
#include <span>
#include <string_view>

#include "render/image.h"
#include "render/raster_geometry.h"

// 0xFFRRGGBB, the pixel format of Image.
constexpr uint32_t Rgb(uint32_t red, uint32_t green, uint32_t blue) {
  return kOpaque | (red << 16) | (green << 8) | blue;
}

class Raster {
 public:
  // Draws into the area [left, right) x [top, bottom) of `image`; the part of
  // the area outside the image is cut away.
  Raster(Image& image, int left, int top, int right, int bottom);

  void SelectPen(uint32_t colour) { pen_ = colour; }
  void SetTextColour(uint32_t colour) { textColour_ = colour; }
  // Draws every pixel of the label font as a square of `scale` pixels, so
  // that labels keep their size on a screen of 2 or 3 device pixels per point.
  void SetTextScale(int scale) { textScale_ = scale < 1 ? 1 : scale; }

  void MoveTo(double x, double y);
  // Draws from the current position to (x, y), which becomes the current position.
  void LineTo(double x, double y);
  void Rectangle(double left, double top, double right, double bottom);
  void Ellipse(double left, double top, double right, double bottom);
  void TextOut(double x, double y, std::string_view text);

  // From now on writes only rows [top, bottom) of the image (within the
  // area). Every figure keeps the pixels it has when drawn over the whole
  // area, so rows can be drawn apart, by different threads, and give the
  // same image.
  void RestrictRows(int top, int bottom);

  // Sets every pixel of the area.
  void Fill(uint32_t colour);
  // Copies `line` into one row of the area. Scan line 0 is the area's bottom
  // row; line[0] goes to the area's left column.
  void SetScanLine(int scanLine, std::span<const uint32_t> line);
  // The image's pixels of one scan line's first `length` columns, to be
  // written in place of a SetScanLine; empty unless they lie wholly in the
  // clip (the caller then takes SetScanLine).
  std::span<uint32_t> ScanLinePixels(int scanLine, size_t length);

 private:
  void Line(double x0, double y0, double x1, double y1);
  void LineThroughFarPoints(double x0, double y0, double x1, double y1);
  void EllipseFromEquation(double left, double top, double right, double bottom);
  // Pixels x0..x1 (inclusive) of row y with the pen, cut to the clip.
  void HorizontalRun(double y, double x0, double x1);
  void VerticalRun(double x, double y0, double y1);

  // With Fill and the scan lines, the only places that write pixels; (x, y)
  // must lie in clip_.
  void Put(int64_t x, int64_t y, uint32_t colour) {
    pixels_[static_cast<size_t>(y) * stride_ + static_cast<size_t>(x)] = colour;
  }
  void PutIfInside(int64_t x, int64_t y, uint32_t colour) {
    if (clip_.Contains(x, y)) Put(x, y, colour);
  }

  uint32_t* pixels_;
  size_t stride_;
  int areaLeft_, areaBottom_;
  raster::ClipRect clip_;
  // The area inside the image: where a line with far end points is cut.
  raster::ClipRect area_;
  uint32_t pen_ = 0;
  uint32_t textColour_ = 0;
  int textScale_ = 1;
  double currentX_ = 0.0, currentY_ = 0.0;
};
