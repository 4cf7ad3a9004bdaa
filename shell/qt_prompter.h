#pragma once
// Message boxes and the system file, folder and colour dialogs for the
// commands of the library.

#include <QWidget>

#include "core/prompter.h"

namespace mok::shell {

// "Desc (*.x)|*.x|All Files (*.*)|*.*||" -> "Desc (*.x);;All Files (*.*)".
QString QtFilterFromPipes(const std::string& filter);

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
