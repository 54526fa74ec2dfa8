#include "app/qt/properties_box.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui_text.h"

namespace {

// The text area's size: room for lines of about 100 characters (a longer
// finding wraps) and a header of about 24 lines.
constexpr int kColumns = 100;
constexpr int kLines = 24;

}  // namespace

void RunPropertiesBox(QWidget* owner, std::string_view text) {
  QDialog box(owner);
  box.setWindowTitle(QString::fromLatin1(TEXT_PROPERTIES_CAPTION));
  box.setModal(true);
  auto* shown = new QPlainTextEdit(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), &box);
  shown->setReadOnly(true);
  shown->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  const QFontMetrics metrics(shown->font());
  shown->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('0')) * kColumns,
                        metrics.lineSpacing() * kLines);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setText(QString::fromLatin1(TEXT_OK));
  ok->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
  auto* layout = new QVBoxLayout(&box);
  layout->addWidget(shown);
  layout->addWidget(buttons);
  ok->setFocus();  // Enter reaches the default button, not the text
  box.exec();      // Escape rejects, which closes the box just as OK does
}
