#pragma once
// "Map from 3D View": projection, flip and mirror, and the two misc choices.

#include <QDialog>

#include "panes/pane_dialogs.h"

class QButtonGroup;
class QCheckBox;

namespace mok::shell {

class MapFromViewWindow final : public QDialog {
 public:
  MapFromViewWindow(const MapFrom3DViewOptions& options, QWidget* parent = nullptr);
  MapFrom3DViewOptions options() const;

 private:
  QButtonGroup* projection_;
  QCheckBox* flip_;
  QCheckBox* mirror_;
  QCheckBox* noBackfaces_;
  QCheckBox* assignChannel_;
};

}  // namespace mok::shell
