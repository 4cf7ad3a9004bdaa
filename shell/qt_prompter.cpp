#include "shell/qt_prompter.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace mok::shell {
namespace {

const QString kTitle = QStringLiteral("MOK");

QMessageBox::Icon IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(Buttons buttons) {
  switch (buttons) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

Answer AnswerOf(int button) {
  switch (button) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
  }
}

}  // namespace

QString QtFilterFromPipes(const std::string& filter) {
  QStringList parts = QString::fromStdString(filter).split('|');
  QStringList entries;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QString patterns = parts[i + 1];
    patterns.replace(';', ' ');
    // Qt matches the space-separated patterns in the description's last
    // parentheses, so they are the entry's own patterns: "Supported Formats
    // (*.pcx;*.bmp)" would match no file at all.
    const qsizetype open = parts[i].lastIndexOf('(');
    const QString description = (open < 0 ? parts[i] : parts[i].left(open)).trimmed();
    entries << description + " (" + patterns + ")";
  }
  return entries.join(";;");
}

void SetUpFileDialog(QFileDialog& dialog, const FileDialogSpec& spec) {
  dialog.setWindowTitle(spec.save ? QStringLiteral("Save As") : QStringLiteral("Open"));
  dialog.setAcceptMode(spec.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(!spec.save && spec.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !spec.confirmOverwrite);
  dialog.setNameFilters(QtFilterFromPipes(spec.filter).split(QStringLiteral(";;")));
  if (!spec.initialDir.empty()) dialog.setDirectory(QString::fromStdString(spec.initialDir));
  const QString initial = QString::fromStdString(spec.initialName);
  if (!initial.isEmpty() && !initial.contains('*')) dialog.selectFile(initial);
}

void QtPrompter::Message(const std::string& text, MessageIcon icon) {
  QMessageBox box(IconOf(icon), kTitle, QString::fromStdString(text), QMessageBox::Ok, parent_);
  box.exec();
}

Answer QtPrompter::Ask(const std::string& text, Buttons buttons, MessageIcon icon) {
  QMessageBox box(IconOf(icon), kTitle, QString::fromStdString(text), ButtonsOf(buttons), parent_);
  return AnswerOf(box.exec());
}

std::optional<std::string> QtPrompter::ChooseFile(const FileDialogSpec& spec) {
  std::optional<FileChoice> choice = ChooseFileAndFilter(spec);
  if (!choice) return std::nullopt;
  return choice->path;
}

std::optional<FileChoice> QtPrompter::ChooseFileAndFilter(const FileDialogSpec& spec) {
  QFileDialog dialog(parent_);
  SetUpFileDialog(dialog, spec);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const int index = static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
  return FileChoice{dialog.selectedFiles().first().toStdString(), index < 0 ? 1 : index + 1};
}

std::optional<std::string> QtPrompter::ChooseFolder(const std::string& title) {
  QString chosen = QFileDialog::getExistingDirectory(parent_, QString::fromStdString(title));
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

bool QtPrompter::ChooseColor(std::uint32_t& colour, std::array<std::uint32_t, 16>& customSlots) {
  for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, QColor::fromRgb(customSlots[static_cast<std::size_t>(i)]));
  QColor chosen = QColorDialog::getColor(QColor::fromRgb(colour), parent_);
  for (int i = 0; i < 16; ++i) customSlots[static_cast<std::size_t>(i)] = QColorDialog::customColor(i).rgb() & 0xFFFFFFu;
  if (!chosen.isValid()) return false;
  colour = chosen.rgb() & 0xFFFFFFu;
  return true;
}

}  // namespace mok::shell
