#include "shell/map_from_view_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QVBoxLayout>

#include "shell/dialog_support.h"

namespace mok::shell {

MapFromViewWindow::MapFromViewWindow(const MapFrom3DViewOptions& options, QWidget* parent) : QDialog(parent) {
  SetUpDialog(*this, "Map from 3D View");
  auto* layout = new QVBoxLayout(this);
  auto* projection = new QGroupBox(QStringLiteral("Projection"));
  auto* projectionLayout = new QVBoxLayout(projection);
  projection_ = AddRadios(*this, *projectionLayout, {"Perspective", "Parallel"}, options.projection);
  flip_ = AddCheck(*projectionLayout, "Flip", options.flip);
  mirror_ = AddCheck(*projectionLayout, "Mirror", options.mirror);
  auto* misc = new QGroupBox(QStringLiteral("Misc"));
  auto* miscLayout = new QVBoxLayout(misc);
  noBackfaces_ = AddCheck(*miscLayout, "No Backfaces", options.noBackfaces);
  assignChannel_ = AddCheck(*miscLayout, "Assign Channel", options.assignChannel);
  layout->addWidget(projection);
  layout->addWidget(misc);
  AddOkCancel(*this, *layout);
}

MapFrom3DViewOptions MapFromViewWindow::options() const {
  return {projection_->checkedId(), flip_->isChecked(), mirror_->isChecked(), noBackfaces_->isChecked(),
          assignChannel_->isChecked()};
}

}  // namespace mok::shell
