#include "app/qt/info_box.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <cmath>
#include <vector>

#include "app/qt/app_icon.h"
#include "app/ui_text.h"

namespace {

// A control of a box template: position and size in dialog units.
struct Control {
  enum Kind { kIcon, kText, kOkButton } kind;
  int x, y, width, height;
  const char* text;
};

struct Template {
  const char* caption;
  int width, height;  // client size, dialog units
  std::vector<Control> controls;
};

Template AboutTemplate() {
  return {TEXT_ABOUT_CAPTION,
          160,
          47,
          {{Control::kIcon, 14, 9, 20, 20, nullptr},
           {Control::kText, 49, 10, 67, 8, TEXT_ABOUT_VERSION},
           {Control::kOkButton, 122, 7, 30, 11, TEXT_OK}}};
}

Template HelpTemplate() {
  return {TEXT_HELP_CAPTION,
          194,
          60,
          {{Control::kText, 6, 6, 113, 8, TEXT_HELP_LINE1},
           {Control::kText, 6, 18, 139, 8, TEXT_HELP_LINE2},
           {Control::kText, 6, 25, 139, 8, TEXT_HELP_LINE3},
           {Control::kText, 6, 37, 173, 8, TEXT_HELP_LINE4},
           {Control::kText, 6, 45, 173, 8, TEXT_HELP_LINE5},
           {Control::kOkButton, 155, 11, 30, 11, TEXT_OK}}};
}

// Dialog units as Windows defines them: a horizontal unit is a quarter of the
// font's average character width, a vertical one an eighth of its height.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font) {
    const QFontMetricsF metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    charWidth_ = metrics.horizontalAdvance(alphabet) / 52.0;
    charHeight_ = metrics.height();
  }
  int X(int units) const { return static_cast<int>(std::lround(units * charWidth_ / 4.0)); }
  int Y(int units) const { return static_cast<int>(std::lround(units * charHeight_ / 8.0)); }

 private:
  double charWidth_ = 0.0;
  double charHeight_ = 0.0;
};

QWidget* MakeControl(const Control& control, QDialog& box) {
  switch (control.kind) {
    case Control::kIcon: {
      auto* icon = new QLabel(&box);
      icon->setPixmap(AppIcon().pixmap(32, 32));  // an icon control shows the icon at its size
      icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return icon;
    }
    case Control::kText: {
      auto* text = new QLabel(QString::fromLatin1(control.text), &box);
      text->setTextFormat(Qt::PlainText);  // no prefix: "&" is shown as it is
      text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return text;
    }
    case Control::kOkButton: {
      auto* ok = new QPushButton(QString::fromLatin1(control.text), &box);
      ok->setDefault(true);
      QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
      return ok;
    }
  }
  return nullptr;
}

}  // namespace

void RunInfoBox(QWidget* owner, InfoBox which) {
  const Template layout = which == InfoBox::kAbout ? AboutTemplate() : HelpTemplate();
  QDialog box(owner);
  box.setWindowTitle(QString::fromLatin1(layout.caption));
  box.setModal(true);
  const DialogUnits units(box.font());
  for (const Control& control : layout.controls) {
    QWidget* widget = MakeControl(control, box);
    // A text wider than its template box in this font keeps its full width.
    const int width = std::max(units.X(control.width),
                               control.kind == Control::kText ? widget->sizeHint().width() : 0);
    widget->setGeometry(units.X(control.x), units.Y(control.y), width,
                        std::max(units.Y(control.height), widget->sizeHint().height()));
  }
  box.setFixedSize(units.X(layout.width), units.Y(layout.height));
  box.exec();  // Escape rejects, which closes the box just as OK does
}
