#include "app/qt/status_fields.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

#include <algorithm>

// A label that shows a text too wide for it cut cleanly: without its last
// parts (separated by two spaces) or else its last words, and with an
// ellipsis.
class FieldLabel final : public QLabel {
 public:
  // `longestText`: the width the label keeps for texts that change at every
  // pointer move, so that the fields beside it stay where they are; empty
  // for a label that wants just the width of what it shows.
  FieldLabel(const char* name, const char* longestText, QWidget* parent) : QLabel(parent) {
    setObjectName(QString::fromLatin1(name));
    setText(QString::fromUtf8(longestText));
    longest_ = *longestText == '\0' ? 0 : QLabel::sizeHint().width();
    clear();
  }

  // The width this label asks for: its longest text's, or the text it shows
  // where that is wider.
  int Need() const {
    const int shown = fontMetrics().horizontalAdvance(text()) + 2 * margin() + 2 * frameWidth();
    return std::max(longest_, text().isEmpty() ? 0 : shown);
  }

  QSize sizeHint() const override { return {Need(), QLabel::sizeHint().height()}; }
  QSize minimumSizeHint() const override { return {0, QLabel::sizeHint().height()}; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const QRect room = contentsRect().adjusted(margin(), 0, -margin(), 0);
    style()->drawItemText(&painter, room, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(),
                          Fitted(room.width()), foregroundRole());
  }

 private:
  QString Fitted(int width) const {
    const QFontMetrics metrics = fontMetrics();
    if (metrics.horizontalAdvance(text()) <= width) return text();
    const QString ellipsis = QStringLiteral(" \u2026");
    for (const QString& separator : {QStringLiteral("  "), QStringLiteral(" ")}) {
      QString shown = text();
      for (qsizetype end = shown.lastIndexOf(separator); end > 0; end = shown.lastIndexOf(separator)) {
        shown.truncate(end);
        if (metrics.horizontalAdvance(shown + ellipsis) <= width) return shown + ellipsis;
      }
    }
    return metrics.elidedText(text(), Qt::ElideRight, width);
  }

  int longest_ = 0;
};

// The three labels in one row across the bar, given their widths by
// priority; what is left over widens the pointer's label. The pointer's
// label stands on the left, the other two against the right edge.
class FieldRow final : public QWidget {
 public:
  explicit FieldRow(QWidget* parent) : QWidget(parent) {}

  void SetLabels(FieldLabel* pointer, FieldLabel* curve, FieldLabel* lamp) {
    pointer_ = pointer;
    curve_ = curve;
    lamp_ = lamp;
  }

  void SetNoteShown(bool shown) {
    noteShown_ = shown;
    Arrange();
  }

  void Arrange() {
    const int gap = std::max(Gap(), 0);
    int left = std::max(width() - 2 * gap, 0);
    const auto take = [&left](int need) {
      const int got = std::min(need, left);
      left -= got;
      return got;
    };
    int pointer = take(pointer_->Need());
    // While a note stands, the curve's field gives way before the light's.
    const int first = take(noteShown_ ? lamp_->Need() : curve_->Need());
    const int second = take(noteShown_ ? curve_->Need() : lamp_->Need());
    const int curve = noteShown_ ? second : first;
    const int lamp = noteShown_ ? first : second;
    pointer += left;
    pointer_->setGeometry(0, 0, pointer, height());
    curve_->setGeometry(pointer + gap, 0, curve, height());
    lamp_->setGeometry(pointer + curve + 2 * gap, 0, lamp, height());
  }

  QSize sizeHint() const override {
    return {pointer_->Need() + curve_->Need() + lamp_->Need() + 2 * Gap(), pointer_->sizeHint().height()};
  }
  QSize minimumSizeHint() const override { return {0, pointer_->sizeHint().height()}; }

 protected:
  void resizeEvent(QResizeEvent*) override { Arrange(); }

 private:
  int Gap() const { return style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, this); }

  FieldLabel* pointer_ = nullptr;
  FieldLabel* curve_ = nullptr;
  FieldLabel* lamp_ = nullptr;
  bool noteShown_ = false;
};

namespace {

// Whether the label's text changed.
bool ShowChanged(QLabel& label, const std::string& text, std::string& shown) {
  if (text == shown) return false;
  shown = text;
  label.setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  return true;
}

}  // namespace

StatusFields::StatusFields(QStatusBar& bar, QWidget& client, const DistributionEditor& editor,
                           const Document& document)
    : QObject(&bar),
      editor_(editor),
      document_(document),
      client_(client),
      row_(new FieldRow(&bar)),
      // The pointer's longest usual text: four significant digits of
      // intensities up to 99990 cd. A longer one widens the field.
      pointer_(new FieldLabel("pointer", "180\u00b0  curve 12350 cd  pointer 12350 cd", row_)),
      curve_(new FieldLabel("curve", "", row_)),
      lamp_(new FieldLabel("lamp", "", row_)) {
  row_->SetLabels(pointer_, curve_, lamp_);
  bar.addWidget(row_, 1);
  client_.installEventFilter(this);
}

void StatusFields::Follow(const AppEvent& event) {
  const bool noteEnds = event.kind == EventKind::kPointerMove && noteShown_;
  if (event.kind == EventKind::kPointerMove) {
    pointerInside_ = true;
    noteShown_ = false;
  }
  Show(noteEnds);
}

bool StatusFields::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &client_ && event->type() == QEvent::Leave) {
    pointerInside_ = false;
    Show(false);
  }
  return false;
}

void StatusFields::Show(bool rearrange) {
  FillStatusTexts(editor_, document_, pointerInside_, texts_);
  if (!noteShown_ && ShowChanged(*pointer_, texts_.pointer, shown_.pointer)) {
    rearrange = rearrange || pointer_->Need() > pointer_->width();
  }
  // The curve's and the light's texts change with a stroke or the wheel,
  // not with a pointer move: only then, when a note ends or a pointer text
  // is wider than its field, do the fields move.
  rearrange = ShowChanged(*curve_, texts_.curve, shown_.curve) || rearrange;
  rearrange = ShowChanged(*lamp_, texts_.lamp, shown_.lamp) || rearrange;
  if (rearrange) row_->SetNoteShown(noteShown_);
}

void StatusFields::ShowNote(std::string_view text) {
  ShowChanged(*pointer_, std::string(text), shown_.pointer);
  // The note is read whole where the bar allows; the window never has to
  // grow for it.
  noteShown_ = true;
  row_->SetNoteShown(true);
}
