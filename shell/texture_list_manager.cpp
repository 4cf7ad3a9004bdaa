#include "shell/texture_list_manager.h"

namespace mok::shell {
namespace {

QComboBox* MakeList(QWidget* parent, const char* name, const char* prompt) {
  auto* list = new QComboBox(parent);
  list->setObjectName(name);
  list->setStatusTip(prompt);
  list->setToolTip(prompt);
  list->setFocusPolicy(Qt::NoFocus);  // the keys stay with the window's commands
  return list;
}

void Place(QComboBox* list, bool shown, int left, int right, int height) {
  list->setVisible(shown);
  if (shown) list->setGeometry(left, 0, right - left, height);
}

}  // namespace

TextureListManager::TextureListManager(QWidget* parent) : QWidget(parent) {
  setObjectName("Texture List Manager");
  texturesList_ = MakeList(this, "texturesList", "Current List of Strings");
  phongMapsList_ = MakeList(this, "phongMapsList", "Current List of Phong Maps");
  envMapsList_ = MakeList(this, "envMapsList", "Current List of Environment Maps");
  setMinimumSize(128, 22);
}

void TextureListManager::LayOut(const TextureListNeeds& needs) {
  needs_ = needs;
  if (!needs.skins && !needs.phong && !needs.env) {
    for (QComboBox* list : {texturesList_, phongMapsList_, envMapsList_}) list->hide();
    return;
  }
  const TextureListPlaces places = PlaceTextureLists(needs, 0, width());
  Place(texturesList_, needs.skins, places.texturesLeft, places.texturesRight, height());
  Place(phongMapsList_, needs.phong, places.phongLeft, places.phongRight, height());
  Place(envMapsList_, needs.env, places.envLeft, places.envRight, height());
}

void TextureListManager::resizeEvent(QResizeEvent*) { LayOut(needs_); }

}  // namespace mok::shell
