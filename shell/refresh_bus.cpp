#include "shell/refresh_bus.h"

#include <QMetaObject>

namespace mok::shell {

void RefreshBus::Refresh(const RefreshRequest& request) {
  if (request.delivery == Delivery::Send) {
    emit refreshRequested(request);
    return;
  }
  QMetaObject::invokeMethod(this, [this, request] { emit refreshRequested(request); }, Qt::QueuedConnection);
}

}  // namespace mok::shell
