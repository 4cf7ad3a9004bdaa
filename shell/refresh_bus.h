#pragma once
// The program's "MOK-Refresh" bus: requests from the library reach the main
// window, which renders and repaints the named panes. Sent requests are
// handled before Refresh returns; posted ones after the running command.

#include <QObject>

#include "core/refresh.h"

namespace mok::shell {

class RefreshBus final : public QObject, public RefreshSink {
  Q_OBJECT
 public:
  using QObject::QObject;
  void Refresh(const RefreshRequest& request) override;
  void RefillLists() override { emit listsStale(); }

 signals:
  void refreshRequested(mok::RefreshRequest request);
  void listsStale();
};

}  // namespace mok::shell
