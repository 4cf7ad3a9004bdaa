#include "shell/cursor_count.h"

#include <QCursor>
#include <QGuiApplication>

namespace mok::shell {
namespace {
int displayCount = 0;
}  // namespace

int HideProgramCursor() {
  if (--displayCount == -1) QGuiApplication::setOverrideCursor(Qt::BlankCursor);
  return displayCount;
}

int ShowProgramCursor() {
  if (++displayCount == 0) QGuiApplication::restoreOverrideCursor();
  return displayCount;
}

}  // namespace mok::shell
