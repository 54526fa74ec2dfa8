#include "app/qt/client_area.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "render/polar_view.h"
#include "render/wall_view.h"

namespace {

// A device coordinate from a logical one: the pixel it falls in, kept within
// the signed 16-bit range a window system reports positions in.
int32_t DeviceCoordinate(double logical, double ratio) {
  const double device = std::floor(logical * ratio);
  if (!(device >= -32768.0)) return -32768;  // also a NaN
  if (device > 32767.0) return 32767;
  return static_cast<int32_t>(device);
}

}  // namespace

ClientArea::ClientArea(const DistributionEditor& editor, const Document& document, EventSink sink,
                       QWidget* parent)
    : QWidget(parent), editor_(editor), document_(document), sink_(std::move(sink)) {
  setMouseTracking(true);  // moves without a button too: they keep overWall current
  setFocusPolicy(Qt::StrongFocus);  // for the Control key's presses and releases
}

QSize ClientArea::DeviceSize() const {
  const double ratio = devicePixelRatioF();
  return {DeviceCoordinate(width(), ratio), DeviceCoordinate(height(), ratio)};
}

void ClientArea::Render(Halves halves) {
  MatchImageToClient();
  const int half = editor_.halfWidth();
  if (halves == Halves::kLeft || halves == Halves::kBoth) {
    // Labels keep their size to the eye on a screen of several device pixels per point.
    DrawPolar(editor_, image_, LabelScale(devicePixelRatioF()));
    update(LogicalColumns(0, half));
  }
  if (halves == Halves::kRight || halves == Halves::kBoth) {
    DrawWall(editor_, document_.lamp(), document_.sectionC(), image_);
    update(LogicalColumns(half, 2 * half));
  }
}

void ClientArea::MatchImageToClient() {
  // The renderers draw an image of the editor's client size, which the size
  // event set (at least 1 x 1).
  if (image_.width != editor_.clientWidth || image_.height != editor_.clientHeight) {
    image_ = Image(editor_.clientWidth, editor_.clientHeight);
    shown_ = QImage(reinterpret_cast<uchar*>(image_.pixels.data()), image_.width, image_.height,
                    static_cast<qsizetype>(image_.width) * 4, QImage::Format_RGB32);
  }
  shown_.setDevicePixelRatio(devicePixelRatioF());
}

QRect ClientArea::LogicalColumns(int first, int end) const {
  const double ratio = devicePixelRatioF();
  const int left = static_cast<int>(std::floor(first / ratio));
  const int right = static_cast<int>(std::ceil(end / ratio));
  return {left, 0, right - left, height()};
}

void ClientArea::paintEvent(QPaintEvent*) {
  // Only shows what the event handlers rendered; Qt clips to the exposed part.
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), shown_);
}

void ClientArea::resizeEvent(QResizeEvent*) { SendSize(); }

void ClientArea::SendSize() {
  const QSize size = DeviceSize();
  Send(EventKind::kSize, size.width(), size.height());
}

bool ClientArea::event(QEvent* event) {
  // On a screen of another device pixel ratio the same logical size is
  // another device size: the image and the editor follow as on a resize.
  // Qt 6.4 tells a widget of a new screen only by its internal event.
  bool ratioMayHaveChanged = event->type() == QEvent::ScreenChangeInternal;
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
  ratioMayHaveChanged = ratioMayHaveChanged || event->type() == QEvent::DevicePixelRatioChange;
#endif
  const bool handled = QWidget::event(event);
  // Before the first size event there is no image to follow yet.
  if (ratioMayHaveChanged && !shown_.isNull() && shown_.devicePixelRatio() != devicePixelRatioF()) {
    SendSize();
  }
  return handled;
}

bool ClientArea::Reaches(const QMouseEvent& event) const {
  const QPointF p = event.position();
  return captured_ || (p.x() >= 0 && p.y() >= 0 && p.x() < width() && p.y() < height());
}

void ClientArea::Send(EventKind kind, int32_t x, int32_t y) {
  AppEvent event;
  event.kind = kind;
  event.x = x;
  event.y = y;
  sink_(event);
}

void ClientArea::mouseMoveEvent(QMouseEvent* event) {
  if (!Reaches(*event)) return;
  const double ratio = devicePixelRatioF();
  Send(EventKind::kPointerMove, DeviceCoordinate(event->position().x(), ratio),
       DeviceCoordinate(event->position().y(), ratio));
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    Send(EventKind::kLeftDown);
  } else if (event->button() == Qt::MiddleButton) {
    Send(EventKind::kMiddleDown);
  }
}

void ClientArea::mouseReleaseEvent(QMouseEvent* event) {
  if (!Reaches(*event)) return;
  if (event->button() == Qt::LeftButton) Send(EventKind::kLeftUp);
  if (event->button() == Qt::MiddleButton) Send(EventKind::kMiddleUp);
}

void ClientArea::mouseDoubleClickEvent(QMouseEvent* event) {
  // Qt delivers the second press of a double click as this event instead of
  // a press. It takes no capture and starts no stroke; Qt's default would
  // handle it as one more press.
  if (event->button() == Qt::LeftButton) Send(EventKind::kLeftDoubleClick);
}

void ClientArea::wheelEvent(QWheelEvent* event) {
  // Eighths of a degree, 120 a notch, finer on smooth wheels: the amount as it
  // comes. Modifier keys do not change what the wheel does, but Qt reports a
  // turn with Alt held as a horizontal one, so that is taken back. Any other
  // purely horizontal turn is not a wheel event of this window.
  const QPoint delta = event->angleDelta();
  const bool altTurn = delta.y() == 0 && (event->modifiers() & Qt::AltModifier);
  const int amount = altTurn ? delta.x() : delta.y();
  if (amount == 0) return;
  AppEvent wheel;
  wheel.kind = EventKind::kWheel;
  wheel.amount = amount;
  sink_(wheel);
}

void ClientArea::keyPressEvent(QKeyEvent* event) {
  leftControl_.OnKeyEvent(*event);
  QWidget::keyPressEvent(event);  // Escape and Enter do nothing here
}

void ClientArea::keyReleaseEvent(QKeyEvent* event) {
  leftControl_.OnKeyEvent(*event);
  QWidget::keyReleaseEvent(event);
}

void ClientArea::focusOutEvent(QFocusEvent* event) {
  leftControl_.Forget();
  // A popup menu or another window has the pointer now: its releases will
  // not come here. The stroke and the pan end as if they had.
  if (captured_) {
    captured_ = false;
    Send(EventKind::kCaptureLost);
  }
  QWidget::focusOutEvent(event);
}
