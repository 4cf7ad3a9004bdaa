#include "shell/list_icons.h"

#include <QPainter>
#include <QPixmap>

#include "app/side_lists.h"

namespace mok::shell {
namespace {

QPixmap EmptySlotPicture() {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
  painter.drawRect(2, 2, 11, 11);
  return picture;
}

QPixmap LoadedSkinPicture() {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.fillRect(2, 2, 12, 12, QColor(0x40, 0x80, 0xC0));
  painter.fillRect(2, 9, 12, 5, QColor(0x40, 0xA0, 0x40));
  painter.setBrush(QColor(0xF0, 0xD0, 0x40));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(8, 3, 4, 4);
  painter.setPen(QColor(0x20, 0x20, 0x20));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(2, 2, 11, 11);
  return picture;
}

}  // namespace

QIcon TextureListIcon(int icon) {
  static const QIcon empty(EmptySlotPicture());
  static const QIcon loaded(LoadedSkinPicture());
  return icon == kLoadedSkinIcon ? loaded : empty;
}

}  // namespace mok::shell
