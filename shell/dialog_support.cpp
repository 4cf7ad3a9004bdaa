#include "shell/dialog_support.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace mok::shell {

void SetUpDialog(QDialog& dialog, const char* title) {
  dialog.setWindowTitle(QString::fromLatin1(title));
  dialog.setModal(true);
}

void AddOkCancel(QDialog& dialog, QBoxLayout& layout, QPushButton* middle) {
  auto* row = new QHBoxLayout;
  row->addStretch();
  auto* ok = new QPushButton(QStringLiteral("OK"));
  auto* cancel = new QPushButton(QStringLiteral("Cancel"));
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  row->addWidget(ok);
  if (middle) row->addWidget(middle);
  row->addWidget(cancel);
  layout.addLayout(row);
  layout.setSizeConstraint(QLayout::SetFixedSize);
}

QLineEdit* AddField(QGridLayout& grid, const QString& label, const char* name, const QString& text) {
  const int row = grid.rowCount();
  auto* edit = new QLineEdit(text);
  edit->setObjectName(QString::fromLatin1(name));
  auto* caption = new QLabel(label);
  caption->setBuddy(edit);
  grid.addWidget(caption, row, 0);
  grid.addWidget(edit, row, 1);
  return edit;
}

QCheckBox* AddCheck(QBoxLayout& layout, const char* text, bool checked) {
  auto* box = new QCheckBox(QString::fromLatin1(text));
  box->setChecked(checked);
  layout.addWidget(box);
  return box;
}

QButtonGroup* AddRadios(QDialog& dialog, QBoxLayout& layout, std::initializer_list<const char*> texts, int chosen) {
  auto* group = new QButtonGroup(&dialog);
  int id = 0;
  for (const char* text : texts) {
    auto* radio = new QRadioButton(QString::fromLatin1(text));
    group->addButton(radio, id);
    radio->setChecked(id == chosen);
    layout.addWidget(radio);
    ++id;
  }
  return group;
}

std::optional<int> FieldCheck::Integer(QLineEdit& field, int low, int high) {
  if (!ok_) return std::nullopt;
  bool parsed = false;
  const int value = field.text().trimmed().toInt(&parsed);
  if (!parsed) {
    Refuse(field, QStringLiteral("Please enter an integer."));
    return std::nullopt;
  }
  if (value < low || value > high) {
    Refuse(field, QStringLiteral("Please enter an integer between %1 and %2.").arg(low).arg(high));
    return std::nullopt;
  }
  return value;
}

std::optional<double> FieldCheck::Number(QLineEdit& field, double low, double high) {
  if (!ok_) return std::nullopt;
  bool parsed = false;
  const double value = field.text().trimmed().toDouble(&parsed);
  if (!parsed || !std::isfinite(value)) {
    Refuse(field, QStringLiteral("Please enter a number."));
    return std::nullopt;
  }
  if (value < low || value > high) {
    Refuse(field, QStringLiteral("Please enter a number between %1 and %2.").arg(NumberText(low), NumberText(high)));
    return std::nullopt;
  }
  return value;
}

bool FieldCheck::Refuse(QLineEdit& field, const QString& message) {
  ok_ = false;
  prompter_.Message(message.toStdString(), MessageIcon::Warning);
  field.setFocus();
  field.selectAll();
  return false;
}

QString NumberText(double value) { return QString::number(value, 'g', 15); }

}  // namespace mok::shell
