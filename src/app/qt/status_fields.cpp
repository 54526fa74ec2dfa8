#include "app/qt/status_fields.h"

#include <QEvent>

#include <algorithm>

namespace {

enum class Shrink { kToNothing, kNever };

// A label whose size hint is that of a typical long text of its field,
// whatever it shows. Where the window is too narrow for all three, the
// pointer's field keeps its width and the others give way.
class FieldLabel final : public QLabel {
 public:
  FieldLabel(const char* name, const char* typicalText, Shrink shrink, QWidget* parent)
      : QLabel(parent) {
    setObjectName(QString::fromLatin1(name));
    setText(QString::fromUtf8(typicalText));
    hint_ = QLabel::sizeHint();
    minimum_ = {shrink == Shrink::kNever ? hint_.width() : 0, hint_.height()};
    clear();
  }
  QSize sizeHint() const override { return hint_; }
  QSize minimumSizeHint() const override { return minimum_; }

 private:
  QSize hint_, minimum_;
};

void ShowChanged(QLabel& label, const std::string& text, std::string& shown) {
  if (text == shown) return;
  shown = text;
  label.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace

StatusFields::StatusFields(QStatusBar& bar, QWidget& client, const DistributionEditor& editor,
                           const Lamp& lamp)
    : QObject(&bar),
      editor_(editor),
      shownLamp_(lamp),
      client_(client),
      pointer_(new FieldLabel("pointer", "144\u00b0  curve 3336 cd  pointer 1939 cd",
                              Shrink::kNever, &bar)),
      curve_(new FieldLabel(
          "curve",
          "peak 5054 cd at 0\u00b0  flux 1.377e+04 lm  beam 109.6\u00b0  field 157.7\u00b0",
          Shrink::kToNothing, &bar)),
      lamp_(new FieldLabel("lamp", "light 37.2 m from the wall", Shrink::kToNothing, &bar)) {
  bar.addWidget(pointer_, 1);  // takes what the other two leave
  bar.addPermanentWidget(curve_);
  bar.addPermanentWidget(lamp_);
  client_.installEventFilter(this);
}

void StatusFields::Follow(const AppEvent& event) {
  if (event.kind == EventKind::kPointerMove) {
    pointerInside_ = true;
    if (noteShown_) pointer_->setMinimumWidth(0);  // back to its typical text's width
    noteShown_ = false;
  }
  Show();
}

bool StatusFields::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &client_ && event->type() == QEvent::Leave) {
    pointerInside_ = false;
    Show();
  }
  return false;
}

void StatusFields::Show() {
  FillStatusTexts(editor_, shownLamp_, pointerInside_, texts_);
  if (!noteShown_) ShowChanged(*pointer_, texts_.pointer, shown_.pointer);
  ShowChanged(*curve_, texts_.curve, shown_.curve);
  ShowChanged(*lamp_, texts_.lamp, shown_.lamp);
}

void StatusFields::ShowNote(std::string_view text) {
  noteShown_ = true;
  ShowChanged(*pointer_, std::string(text), shown_.pointer);
  // The note is read whole: the curve's field gives way while it stands, up
  // to its own width, so the window never has to grow for it.
  const int needed = pointer_->fontMetrics().horizontalAdvance(pointer_->text()) + 2 * pointer_->margin();
  pointer_->setMinimumWidth(std::min(needed, pointer_->width() + curve_->width()));
}
