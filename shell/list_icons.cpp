#include "shell/list_icons.h"

#include <QPainter>
#include <QPixmap>

#include "app/side_lists.h"

namespace mok::shell {
namespace {

// A 16-pixel picture with `scale` device pixels per pixel.
QPixmap BlankPicture(int scale) {
  QPixmap picture(16 * scale, 16 * scale);
  picture.setDevicePixelRatio(scale);
  picture.fill(Qt::transparent);
  return picture;
}

void DrawEmptySlot(QPainter& painter) {
  painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
  painter.drawRect(2, 2, 11, 11);
}

void DrawLoadedSkin(QPainter& painter) {
  painter.fillRect(2, 2, 12, 12, QColor(0x40, 0x80, 0xC0));
  painter.fillRect(2, 9, 12, 5, QColor(0x40, 0xA0, 0x40));
  painter.setBrush(QColor(0xF0, 0xD0, 0x40));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(8, 3, 4, 4);
  painter.setPen(QColor(0x20, 0x20, 0x20));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(2, 2, 11, 11);
}

// The drawing at 1x and 2x.
QIcon IconOf(void (*draw)(QPainter&)) {
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap picture = BlankPicture(scale);
    QPainter painter(&picture);
    draw(painter);
    painter.end();
    icon.addPixmap(picture);
  }
  return icon;
}

}  // namespace

QIcon TextureListIcon(int icon) {
  static const QIcon empty = IconOf(DrawEmptySlot);
  static const QIcon loaded = IconOf(DrawLoadedSkin);
  return icon == kLoadedSkinIcon ? loaded : empty;
}

}  // namespace mok::shell
