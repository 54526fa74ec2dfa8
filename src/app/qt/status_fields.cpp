#include "app/qt/status_fields.h"

#include <QEvent>

namespace {

// A label whose size hint is that of a typical long text of its field,
// whatever it shows, and which may shrink to nothing in a narrow window.
class FieldLabel final : public QLabel {
 public:
  FieldLabel(const char* name, const char* typicalText, QWidget* parent) : QLabel(parent) {
    setObjectName(QString::fromLatin1(name));
    setText(QString::fromUtf8(typicalText));
    hint_ = QLabel::sizeHint();
    clear();
  }
  QSize sizeHint() const override { return hint_; }
  QSize minimumSizeHint() const override { return {0, hint_.height()}; }

 private:
  QSize hint_;
};

void ShowChanged(QLabel& label, const std::string& text, std::string& shown) {
  if (text == shown) return;
  shown = text;
  label.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace

StatusFields::StatusFields(QStatusBar& bar, QWidget& client, const DistributionEditor& editor)
    : QObject(&bar),
      editor_(editor),
      client_(client),
      pointer_(new FieldLabel("pointer", "180\u00b0  curve 12345 cd  pointer 12345 cd", &bar)),
      curve_(new FieldLabel("curve", "peak 12345 cd at 180\u00b0  flux 12345 lm  beam 88.8\u00b0  field 88.8\u00b0",
                            &bar)),
      lamp_(new FieldLabel("lamp", "light 0.1234 m from the wall", &bar)) {
  bar.addWidget(pointer_, 1);  // takes what the other two leave
  bar.addPermanentWidget(curve_);
  bar.addPermanentWidget(lamp_);
  client_.installEventFilter(this);
}

void StatusFields::Follow(const AppEvent& event) {
  if (event.kind == EventKind::kPointerMove) pointerInside_ = true;
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
  FillStatusTexts(editor_, pointerInside_, texts_);
  ShowChanged(*pointer_, texts_.pointer, shown_.pointer);
  ShowChanged(*curve_, texts_.curve, shown_.curve);
  ShowChanged(*lamp_, texts_.lamp, shown_.lamp);
}
