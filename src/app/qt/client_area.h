#pragma once
// The main window's client area: one widget that owns the client-area image.
//
// Input events are decoded into the dispatch's events and handed to the sink;
// the halves are rendered into the image when the dispatch asks for them
// (Render), and paintEvent only shows the image, so an exposure never renders.
//
// The editor's pixels are device pixels: the image has the client area's size
// times the device pixel ratio, and pointer positions are scaled to match, so
// both views are sharp on a high-density screen.

#include <QImage>
#include <QWidget>
#include <functional>

#include "app/dispatch.h"
#include "app/document.h"
#include "app/label_scale.h"
#include "app/qt/left_control_key.h"
#include "render/image.h"

class ClientArea final : public QWidget {
 public:
  using EventSink = std::function<void(const AppEvent&)>;

  // The wall shows `document`'s lamp.
  ClientArea(const DistributionEditor& editor, const Document& document, EventSink sink,
             QWidget* parent = nullptr);

  // Renders the halves into the image (left first) and schedules showing them.
  void Render(Halves halves);

  // Pointer capture from a left or middle press until neither is held. Qt
  // delivers the moves and the releases outside the window while a button is
  // down; without the capture such events are dropped, as a window that holds
  // no capture never sees them. Losing the focus (a menu or another window
  // took the pointer) loses the capture too, reported as kCaptureLost.
  void SetCaptured(bool captured) { captured_ = captured; }

  bool IsLeftControlDown() const { return leftControl_.IsDown(); }

  // The image as the renderers left it, in device pixels.
  const QImage& image() const { return shown_; }

  // The client size in device pixels, as the size event reports it.
  QSize DeviceSize() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void MatchImageToClient();
  void SendSize();
  QRect LogicalColumns(int first, int end) const;
  bool Reaches(const QMouseEvent& event) const;
  void Send(EventKind kind, int32_t x = 0, int32_t y = 0);

  const DistributionEditor& editor_;
  const Document& document_;
  EventSink sink_;
  Image image_;    // what DrawPolar and DrawWall draw into
  QImage shown_;   // image_'s pixels, without a copy
  bool captured_ = false;
  LeftControlKey leftControl_;
};
