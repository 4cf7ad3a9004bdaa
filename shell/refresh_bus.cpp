#include "shell/refresh_bus.h"

#include <QMetaObject>

namespace mok::shell {

void RefreshBus::Refresh(int paneBits, int kind) {
  QMetaObject::invokeMethod(
      this, [this, paneBits, kind] { emit refreshRequested(paneBits, kind); }, Qt::QueuedConnection);
}

}  // namespace mok::shell
