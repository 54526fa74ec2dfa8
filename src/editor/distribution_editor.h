#pragma once
// DistributionEditor: the one state record of the program.
//
// It holds the intensity curve being edited (181 samples, one per whole
// vertical degree, each the square root of the intensity in candela), the view
// geometry of the polar diagram (left half) and of the wall picture (right
// half), the client-area size that splits the window into those halves, and
// the pointer state shared by the input operations.
//
// Arithmetic: intermediate values in double precision, every float field or
// sample rounded to single precision where it is stored; conversions to
// integer truncate toward zero.
//
// Sections of distribution_editor.cpp:
//   1. bounds that keep every field finite
//   2. resize and reset
//   3. pointer moves, strokes, sweep, hover and pan
//   4. wheel: diagram zoom, wall zoom, light distance

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/curve.h"

class DistributionEditor {
 public:
  static constexpr int kSampleCount = kCurveSampleCount;

  // Fields, in this order, public: the dispatch and the renderers use them directly.
  int32_t panning = 0;        // a middle-button pan is in progress (0 or 1)
  float centerX = 200.0f;     // the polar diagram's origin (the lamp), client pixels
  float centerY = 200.0f;
  int32_t clientWidth = 800;  // client area, pixels, always >= 1
  int32_t clientHeight = 400;
  int32_t lastX = 0;          // pointer position of the latest move
  int32_t lastY = 0;
  Curve curve{};              // root intensity at 0..180 degrees
  float polarScale = 100.0f;  // pixels per unit of root intensity
  float wallScale = 100.0f;   // wall zoom: one pixel spans 0.2 / wallScale wall units
  float wallDistance = 0.1f;  // the light's distance from the wall, wall units
  int32_t overWall = 0;       // the pointer is over the right (wall) half
  int32_t drawing = 0;        // a left-button stroke is in progress

  // The buttons that hold the pointer capture (kCaptureLeft, kCaptureMiddle),
  // set and cleared by the dispatch: the capture lasts while either is held.
  int32_t captureButtons = 0;

  // The left half's curve when the diagram shows a section whose two planes
  // differ (C + 180 degrees on the left, `curve`'s plane C on the right):
  // strokes left of the origin set it, and the diagram draws it there.
  // Empty while both halves show `curve`, as for a drawn lamp.
  std::optional<Curve> leftCurve;

  static constexpr int32_t kCaptureLeft = 1;
  static constexpr int32_t kCaptureMiddle = 2;

  // Bounds that keep every field finite and the scales and the distance
  // positive, however far the user zooms, pans or resizes. They lie some
  // hundreds of wheel notches beyond the defaults, where ordinary use never
  // goes. With them every sample a stroke can store is a finite float.
  static constexpr float kMinScale = 1e-20f;  // polarScale and wallScale
  static constexpr float kMaxScale = 1e20f;
  static constexpr float kMinDistance = 1e-20f;  // wallDistance
  static constexpr float kMaxDistance = 1e20f;
  static constexpr float kMaxOriginOffset = 1e15f;  // |centerX|, |centerY|
  static constexpr int32_t kMaxClientSide = 32767;  // the largest size a window reports

  DistributionEditor() = default;
  DistributionEditor(const DistributionEditor&) = delete;
  DistributionEditor& operator=(const DistributionEditor&) = delete;

  // Width of each half; the left half is columns 0..halfWidth()-1, the right
  // half starts at column halfWidth(). With an odd width the last column
  // belongs to neither.
  int32_t halfWidth() const { return clientWidth / 2; }

  // Maps the views onto a new client size: the origin keeps its relative place
  // on each axis, both scales keep their size relative to the geometric mean
  // of the sides. Sizes below 1 count as 1.
  void OnResize(int32_t width, int32_t height);

  // Sets every sample to 0, both halves one curve; the views, the light and
  // the pointer state stay.
  void ResetCurve();

  // The curve a stroke sets at an offset dx from the origin: the left one
  // left of it while the halves differ.
  Curve& CurveOnSide(double dx);

  // A pointer move to (x, y), client pixels. During a stroke it sets the
  // sample under the pointer and every whole-degree sample whose ray (or its
  // mirror) crosses the segment from the previous position; otherwise it
  // refreshes overWall. While panning it shifts the origin.
  void OnPointerMove(int32_t x, int32_t y);

  // The left button went down (true) or up (false), acting at (lastX, lastY).
  void OnLeftButton(bool down);

  // The sample a left press at (x, y) stores: the whole degree of the
  // direction from the origin, rounded half up (a point and its mirror share
  // it), and the distance from the origin over polarScale.
  struct PressSample {
    int index;    // 0..180
    float value;  // root intensity
  };
  PressSample PressSampleAt(int32_t x, int32_t y) const;

  // A wheel turn of `amount` (120 per notch, positive away from the user).
  // Over the left half it zooms the diagram about (lastX, lastY); over the
  // right half it zooms the wall, or with the left Control key held moves the
  // light. The front end reads the key, and only when overWall is 1.
  void OnWheel(int32_t amount, bool leftControlHeld);

};
