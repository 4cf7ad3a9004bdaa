#include "shell/about_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace mok::shell {

QString ProgramTitle() {
  return QStringLiteral("%1 Version %2").arg(QLatin1String(kProgramName), QLatin1String(kProgramVersion));
}

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About %1").arg(QLatin1String(kProgramName)));
  auto* layout = new QVBoxLayout(this);
  auto* title = new QLabel(ProgramTitle());
  title->setAlignment(Qt::AlignCenter);
  layout->addWidget(title);
  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace mok::shell
