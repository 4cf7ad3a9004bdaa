#include "shell/file_properties_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "shell/dialog_support.h"

namespace mok::shell {
namespace {

// The file keeps single-byte characters: the strings travel as Latin-1.
QString Shown(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }
std::string Kept(const QString& text) { return text.toLatin1().toStdString(); }

// Multi-line texts keep their line breaks as CR LF, as they are stored.
QString ShownLines(const std::string& text) { return Shown(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }
QString KeptLines(const QString& text) { return QString(text).replace(QChar('\n'), QStringLiteral("\r\n")); }

// A multi-line edit that refuses text past `limit` stored characters, as a
// single-line edit does with its maximum length.
QPlainTextEdit* LimitedText(const std::string& text, std::size_t limit, const char* name) {
  auto* edit = new QPlainTextEdit(ShownLines(text.substr(0, limit)));
  edit->setObjectName(QString::fromLatin1(name));
  edit->setTabChangesFocus(true);
  const auto maximum = static_cast<qsizetype>(limit);
  QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, maximum] {
    QString all = edit->toPlainText();
    qsizetype kept = 0;
    qsizetype fits = 0;
    for (; fits < all.size(); ++fits) {
      kept += all[fits] == QChar('\n') ? 2 : 1;
      if (kept > maximum) break;
    }
    if (fits == all.size()) return;
    all.truncate(fits);
    const int position = std::min(edit->textCursor().position(), static_cast<int>(all.size()));
    edit->setPlainText(all);
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(position);
    edit->setTextCursor(cursor);
  });
  return edit;
}

QGroupBox* TextGroup(const char* title, QPlainTextEdit* edit) {
  auto* group = new QGroupBox(QString::fromLatin1(title));
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(edit);
  return group;
}

}  // namespace

FilePropertiesDialog::FilePropertiesDialog(const FileInfo& fields, QWidget* parent) : QDialog(parent) {
  SetUpDialog(*this, "File Properties");
  auto* layout = new QVBoxLayout(this);
  auto* authorGroup = new QGroupBox(QStringLiteral("Author Info"));
  auto* grid = new QGridLayout(authorGroup);
  author_ = AddField(*grid, QStringLiteral("Name/Handle:"), "authorName", Shown(fields.authorName));
  contact_ = AddField(*grid, QStringLiteral("Contact:"), "contact", Shown(fields.contact));
  date_ = AddField(*grid, QStringLiteral("Date:"), "date", Shown(fields.date));
  author_->setMaxLength(static_cast<int>(FileInfo::kAuthorMax));
  contact_->setMaxLength(static_cast<int>(FileInfo::kContactMax));
  date_->setMaxLength(static_cast<int>(FileInfo::kDateMax));
  comments_ = LimitedText(fields.comments, FileInfo::kCommentsMax, "comments");
  credits_ = LimitedText(fields.credits, FileInfo::kCreditsMax, "credits");
  layout->addWidget(authorGroup);
  layout->addWidget(TextGroup("Comments", comments_));
  layout->addWidget(TextGroup("Credits", credits_));
  AddOkCancel(*this, *layout);
}

FileInfo FilePropertiesDialog::fields() const {
  FileInfo fields;
  fields.authorName = Kept(author_->text());
  fields.contact = Kept(contact_->text());
  fields.date = Kept(date_->text());
  fields.comments = Kept(KeptLines(comments_->toPlainText()));
  fields.credits = Kept(KeptLines(credits_->toPlainText()));
  return fields;
}

}  // namespace mok::shell
