#include "app/qt/number_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <vector>

#include "app/ui_text.h"

namespace {

QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

bool RunNumberDialog(QWidget* owner, std::string_view caption, std::span<AskedField> fields) {
  QDialog dialog(owner);
  dialog.setWindowTitle(FromUtf8(caption));
  auto* form = new QFormLayout;
  std::vector<QLineEdit*> edits;
  for (const AskedField& field : fields) {
    auto* edit = new QLineEdit(FromUtf8(field.text), &dialog);
    auto* label = new QLabel(FromUtf8(field.label), &dialog);
    label->setBuddy(edit);  // the label's mnemonic goes to its field
    form->addRow(label, edit);
    edits.push_back(edit);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QString::fromLatin1(TEXT_OK));
  buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromLatin1(TEXT_CANCEL));
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(buttons);
  if (!edits.empty()) {
    edits.front()->setFocus();
    edits.front()->selectAll();
  }
  if (dialog.exec() != QDialog::Accepted) return false;
  for (size_t i = 0; i < fields.size(); ++i) fields[i].text = edits[i]->text().toStdString();
  return true;
}
