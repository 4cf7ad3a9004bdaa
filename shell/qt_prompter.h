#pragma once
// Message boxes and the system file, folder and colour dialogs for the
// commands of the library.

#include <QWidget>

#include "core/prompter.h"

class QFileDialog;

namespace mok::shell {

// "Desc (*.x)|*.x|All Files (*.*)|*.*||" -> "Desc (*.x);;All Files (*.*)";
// "Both (*.x;*.y)|*.x;*.y||" -> "Both (*.x *.y)", the form Qt matches.
QString QtFilterFromPipes(const std::string& filter);

// A file dialog as the spec asks for it, not yet shown: titled "Open" or
// "Save As" as the system titles its own, with the filter list, opening in
// the folder with a real initial name offered (a wildcard one only names
// the first filter), taking only existing files where the spec says so, and
// asking before replacing a file unless it says not to.
void SetUpFileDialog(QFileDialog& dialog, const FileDialogSpec& spec);

class QtPrompter final : public Prompter {
 public:
  explicit QtPrompter(QWidget* parent = nullptr) : parent_(parent) {}
  void setParent(QWidget* parent) { parent_ = parent; }

  void Message(const std::string& text, MessageIcon icon) override;
  Answer Ask(const std::string& text, Buttons buttons, MessageIcon icon) override;
  std::optional<std::string> ChooseFile(const FileDialogSpec& spec) override;
  std::optional<FileChoice> ChooseFileAndFilter(const FileDialogSpec& spec) override;
  std::optional<std::string> ChooseFolder(const std::string& title) override;
  bool ChooseColor(std::uint32_t& colour, std::array<std::uint32_t, 16>& customSlots) override;

 private:
  QWidget* parent_;
};

}  // namespace mok::shell
