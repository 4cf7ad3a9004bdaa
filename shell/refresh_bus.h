#pragma once
// The program's "MOK-Refresh" bus: requests from the library are posted to
// the main window, which renders and repaints the named panes.

#include <QObject>

#include "core/refresh.h"

namespace mok::shell {

class RefreshBus final : public QObject, public RefreshSink {
  Q_OBJECT
 public:
  using QObject::QObject;
  void Refresh(int paneBits, int kind) override;
  void RefillLists() override { emit listsStale(); }

 signals:
  // Delivered through the event loop, after the command that asked is done.
  void refreshRequested(int paneBits, int kind);
  void listsStale();
};

}  // namespace mok::shell
