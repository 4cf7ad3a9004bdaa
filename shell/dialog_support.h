#pragma once
// What the program's Qt dialogs share: the OK / Cancel row (OK is the
// default button, so Enter presses it; Escape cancels), labelled rows, and
// number fields checked on OK in control order with the messages of a
// desktop dialog framework.

#include <QDialog>
#include <QLineEdit>
#include <QString>

#include <initializer_list>
#include <optional>

#include "core/prompter.h"

class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QRadioButton;
class QPushButton;

namespace mok::shell {

// A fixed-size modal dialog with the given title.
void SetUpDialog(QDialog& dialog, const char* title);

// Adds "OK", the optional middle button and "Cancel" in a row at the bottom
// of the layout, OK and Cancel wired to accept and reject, OK the default.
void AddOkCancel(QDialog& dialog, QBoxLayout& layout, QPushButton* middle = nullptr);

// A line edit named `name` after a label in the next row of a grid.
QLineEdit* AddField(QGridLayout& grid, const QString& label, const char* name, const QString& text);

// A check box with the text, added to the layout.
QCheckBox* AddCheck(QBoxLayout& layout, const char* text, bool checked);

// Radio buttons with the texts, added to the layout in one exclusive group
// owned by the dialog, ids counting from 0; `chosen` is checked (none: -1).
QButtonGroup* AddRadios(QDialog& dialog, QBoxLayout& layout, std::initializer_list<const char*> texts, int chosen);

// Reads number fields in order. The first field that does not hold a number
// in its range shows the message, takes the focus with its text selected,
// and makes every later read fail too, so the dialog stays open.
class FieldCheck {
 public:
  explicit FieldCheck(Prompter& prompter) : prompter_(prompter) {}
  // "Please enter an integer." / "Please enter an integer between 4 and 4096."
  std::optional<int> Integer(QLineEdit& field, int low, int high);
  // "Please enter a number." / "Please enter a number between 1 and 99."
  std::optional<double> Number(QLineEdit& field, double low, double high);
  bool ok() const { return ok_; }

 private:
  bool Refuse(QLineEdit& field, const QString& message);

  Prompter& prompter_;
  bool ok_ = true;
};

// A number as the dialogs show it: the shortest form, without trailing zeros.
QString NumberText(double value);

}  // namespace mok::shell
