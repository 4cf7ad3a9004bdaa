#pragma once
// The "Textures" band's child: the textures, phong-map and environment-map
// lists side by side, shown and placed by what the current render mode
// needs (app/pane_layout.h).

#include <QComboBox>
#include <QWidget>

#include "app/pane_layout.h"

namespace mok::shell {

class TextureListManager final : public QWidget {
  Q_OBJECT
 public:
  explicit TextureListManager(QWidget* parent = nullptr);

  QComboBox* texturesList() const { return texturesList_; }
  QComboBox* phongMapsList() const { return phongMapsList_; }
  QComboBox* envMapsList() const { return envMapsList_; }

  // Shows the lists the mode needs and places them over the whole height.
  void LayOut(const TextureListNeeds& needs);

  QSize sizeHint() const override { return {360, 22}; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QComboBox* texturesList_;
  QComboBox* phongMapsList_;
  QComboBox* envMapsList_;
  TextureListNeeds needs_{true, false, false};
};

}  // namespace mok::shell
