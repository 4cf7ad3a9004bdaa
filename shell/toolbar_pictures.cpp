#include "shell/toolbar_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <map>

namespace mok::shell {

namespace {

const QColor kInk(32, 32, 40);
const QColor kBlue(40, 90, 200);
const QColor kRed(200, 40, 40);
const QColor kGreen(40, 150, 60);
const QColor kYellow(240, 200, 40);
const QColor kGrey(150, 150, 150);

void Line(QPainter& p, const QColor& colour, QPointF from, QPointF to, qreal width = 1) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(from, to);
}

// A line with a small head at `to`.
void Arrow(QPainter& p, const QColor& colour, QPointF from, QPointF to) {
  Line(p, colour, from, to);
  QLineF back(to, from);
  for (qreal turn : {-35.0, 35.0}) {
    QLineF head = back;
    head.setLength(3);
    head.setAngle(back.angle() + turn);
    Line(p, colour, head.p1(), head.p2());
  }
}

void Slash(QPainter& p) { Line(p, kRed, {2, 13}, {13, 2}, 1.5); }

void Sun(QPainter& p, QPointF centre, qreal radius) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kYellow);
  p.drawEllipse(centre, radius, radius);
  for (int ray = 0; ray < 8; ++ray) {
    QLineF line(centre, centre + QPointF(radius + 2.5, 0));
    line.setAngle(ray * 45.0);
    line.setP1(line.pointAt((radius + 0.8) / (radius + 2.5)));
    Line(p, kInk, line.p1(), line.p2());
  }
}

void Padlock(QPainter& p, QPointF topLeft) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(topLeft + QPointF(1, 0), QSizeF(4, 5)), 0, 180 * 16);
  p.setBrush(kYellow);
  p.drawRect(QRectF(topLeft + QPointF(0, 3), QSizeF(6, 4)));
}

void Grid(QPainter& p, const QColor& colour) {
  for (int i = 1; i < 16; i += 4) {
    Line(p, colour, {qreal(i), 1}, {qreal(i), 13});
    Line(p, colour, {1, qreal(i)}, {13, qreal(i)});
  }
}

void Triangle(QPainter& p, const QPolygonF& corners, const QColor& fill) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(fill);
  p.drawPolygon(corners);
}

void BrushSquare(QPainter& p, int side) {
  p.setPen(QPen(kGrey, 1, Qt::DotLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(QRectF(1.5, 1.5, 12, 11));
  p.fillRect(QRectF(8 - side, 7.5 - side, 2 * side, 2 * side), kInk);
}

using Drawing = void (*)(QPainter&);

const std::map<int, Drawing>& Drawings() {
  static const std::map<int, Drawing> drawings{
      {32779,  // camera toggle: a camera
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1));
         p.setBrush(kGrey);
         p.drawRect(QRectF(1.5, 4.5, 13, 8));
         p.drawRect(QRectF(3.5, 2.5, 4, 2));
         p.setBrush(kBlue);
         p.drawEllipse(QPointF(8.5, 8.5), 2.5, 2.5);
       }},
      {32780,  // paint mode: a brush
       [](QPainter& p) {
         Line(p, QColor(140, 90, 40), {13, 1}, {7, 8}, 2);
         p.setPen(Qt::NoPen);
         p.setBrush(kRed);
         p.drawEllipse(QPointF(4.5, 10.5), 3, 3);
       }},
      {32781,  // mapping mode: two triangles of a mapping with their corners
       [](QPainter& p) {
         Triangle(p, {{QPointF(2, 13), QPointF(8, 2), QPointF(14, 13)}}, QColor(200, 220, 255));
         Line(p, kInk, {8, 2}, {8, 13});
         p.setPen(Qt::NoPen);
         p.setBrush(kRed);
         for (QPointF corner : {QPointF(2, 13), QPointF(8, 2), QPointF(14, 13), QPointF(8, 13)})
           p.drawRect(QRectF(corner - QPointF(1, 1), QSizeF(2, 2)));
       }},
      {32802, [](QPainter& p) { p.fillRect(QRectF(6, 6, 3, 3), kInk); }},  // point brush
      {32800,  // pencil brush: a pencil and its scribble
       [](QPainter& p) {
         Line(p, kYellow, {13, 2}, {6, 9}, 3);
         Line(p, kInk, {6, 9}, {4, 11}, 1.5);
         QPainterPath scribble({1, 13});
         scribble.cubicTo(4, 15, 8, 11, 14, 13);
         p.setPen(QPen(kInk, 1));
         p.setBrush(Qt::NoBrush);
         p.drawPath(scribble);
       }},
      {32801,  // line brush: a straight line between two end points
       [](QPainter& p) {
         Line(p, kInk, {2, 12}, {13, 2}, 1.5);
         p.fillRect(QRectF(1, 11, 3, 3), kRed);
         p.fillRect(QRectF(12, 1, 3, 3), kRed);
       }},
      {32923, [](QPainter& p) { BrushSquare(p, 1); }},
      {32924, [](QPainter& p) { BrushSquare(p, 2); }},
      {32925, [](QPainter& p) { BrushSquare(p, 3); }},
      {32868,  // blend: two colours mixing
       [](QPainter& p) {
         p.setPen(Qt::NoPen);
         p.setBrush(QColor(200, 40, 40, 170));
         p.drawEllipse(QPointF(5.5, 7.5), 4.5, 4.5);
         p.setBrush(QColor(40, 90, 200, 170));
         p.drawEllipse(QPointF(10.5, 7.5), 4.5, 4.5);
       }},
      {32869,  // colorize: a grey shape taking on colour
       [](QPainter& p) {
         p.setPen(Qt::NoPen);
         p.setBrush(kGrey);
         p.drawEllipse(QPointF(7.5, 7.5), 6, 6);
         QLinearGradient hue(2, 0, 14, 0);
         hue.setColorAt(0, kRed);
         hue.setColorAt(0.5, kYellow);
         hue.setColorAt(1, kBlue);
         p.setBrush(hue);
         p.drawPie(QRectF(1.5, 1.5, 12, 12), 90 * 16, -180 * 16);
       }},
      {32850,  // UV lines: a wire triangle over a checker
       [](QPainter& p) {
         for (int y = 0; y < 15; y += 5)
           for (int x = (y / 5) % 2 * 5; x < 16; x += 10) p.fillRect(QRectF(x, y, 5, 5), QColor(210, 210, 210));
         p.setBrush(Qt::NoBrush);
         p.setPen(QPen(kGreen, 1));
         p.drawPolygon(QPolygonF{{QPointF(2, 13), QPointF(8, 2), QPointF(14, 12)}});
       }},
      {32866,  // mapping frame: a dashed rectangle with corner handles
       [](QPainter& p) {
         p.setPen(QPen(kBlue, 1, Qt::DashLine));
         p.setBrush(Qt::NoBrush);
         p.drawRect(QRectF(2.5, 2.5, 10, 9));
         for (QPointF corner : {QPointF(2, 2), QPointF(12, 2), QPointF(2, 11), QPointF(12, 11)})
           p.fillRect(QRectF(corner - QPointF(1, 1), QSizeF(3, 3)), kInk);
       }},
      {32867,  // map from the 3D view: a cube projected down onto a flat square
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1));
         p.setBrush(QColor(200, 220, 255));
         p.drawRect(QRectF(1.5, 1.5, 5, 5));
         p.drawPolygon(QPolygonF{{QPointF(1.5, 1.5), QPointF(3.5, 0.5), QPointF(8.5, 0.5), QPointF(6.5, 1.5)}});
         Arrow(p, kRed, {5, 8}, {9, 11});
         p.setBrush(kYellow);
         p.drawRect(QRectF(9.5, 9.5, 5, 4));
       }},
      {32881,  // lock X: a crossed-out horizontal move
       [](QPainter& p) {
         Arrow(p, kInk, {7, 7}, {14, 7});
         Arrow(p, kInk, {8, 7}, {1, 7});
         Slash(p);
       }},
      {32882,  // lock Y: a crossed-out vertical move
       [](QPainter& p) {
         Arrow(p, kInk, {7, 7}, {7, 1});
         Arrow(p, kInk, {7, 6}, {7, 13});
         Slash(p);
       }},
      {32883,  // uniform scales: a square growing along its diagonal
       [](QPainter& p) {
         p.setPen(QPen(kGrey, 1));
         p.setBrush(Qt::NoBrush);
         p.drawRect(QRectF(1.5, 4.5, 9, 9));
         p.setPen(QPen(kInk, 1));
         p.drawRect(QRectF(1.5, 9.5, 4, 4));
         Arrow(p, kBlue, {6, 9}, {13, 2});
       }},
      {32836,  // texture warp: a paper clip
       [](QPainter& p) {
         QPainterPath clip({6, 10});
         clip.lineTo(6, 3);
         clip.arcTo(QRectF(6, 0.5, 5, 5), 180, -180);
         clip.lineTo(11, 12);
         clip.arcTo(QRectF(4, 9, 7, 5), 0, -180);
         clip.lineTo(4, 4);
         p.setPen(QPen(kBlue, 1.2));
         p.setBrush(Qt::NoBrush);
         p.drawPath(clip);
       }},
      {32907,  // snap to grid: the grid
       [](QPainter& p) { Grid(p, kInk); }},
      {32913,  // snap selected to grid: a point drawn onto a grid crossing
       [](QPainter& p) {
         Grid(p, kGrey);
         Arrow(p, kRed, {12, 12}, {10, 10});
         p.fillRect(QRectF(7, 7, 3, 3), kRed);
       }},
      {32917,  // standard camera controls: a mouse
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1));
         p.setBrush(Qt::white);
         p.drawRoundedRect(QRectF(3.5, 1.5, 8, 12), 3.5, 3.5);
         Line(p, kInk, {4, 6}, {11, 6});
         Line(p, kInk, {7.5, 2}, {7.5, 6});
       }},
      {32918,  // camera rotate: a turning arrow
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1.2));
         p.setBrush(Qt::NoBrush);
         p.drawArc(QRectF(2, 2, 11, 11), 30 * 16, 290 * 16);
         Arrow(p, kInk, {11, 3}, {12.5, 5.5});
       }},
      {32920,  // camera pan: four arrows
       [](QPainter& p) {
         Arrow(p, kInk, {7.5, 7}, {7.5, 1});
         Arrow(p, kInk, {7.5, 7}, {7.5, 13});
         Arrow(p, kInk, {7.5, 7}, {1, 7});
         Arrow(p, kInk, {7.5, 7}, {14, 7});
       }},
      {32919,  // camera zoom: a magnifier
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1.2));
         p.setBrush(QColor(200, 220, 255));
         p.drawEllipse(QPointF(6, 6), 4.5, 4.5);
         Line(p, kInk, {9.5, 9.5}, {14, 14}, 2.5);
       }},
      {32921,  // camera FOV: the opening angle of the view
       [](QPainter& p) {
         p.setPen(Qt::NoPen);
         p.setBrush(QColor(200, 220, 255));
         p.drawPolygon(QPolygonF{{QPointF(1, 7.5), QPointF(14, 1), QPointF(14, 14)}});
         Line(p, kInk, {1, 7.5}, {14, 1});
         Line(p, kInk, {1, 7.5}, {14, 14});
         p.setBrush(Qt::NoBrush);
         p.setPen(QPen(kRed, 1));
         p.drawArc(QRectF(-4, 2.5, 10, 10), -30 * 16, 60 * 16);
       }},
      {32922,  // rotate light: a sun and a turning arrow
       [](QPainter& p) {
         Sun(p, {6, 6}, 2.5);
         p.setPen(QPen(kInk, 1));
         p.setBrush(Qt::NoBrush);
         p.drawArc(QRectF(4, 5, 10, 9), 200 * 16, 200 * 16);
         Arrow(p, kInk, {12, 13}, {14, 11});
       }},
      {32934,  // parallel projection: a cube drawn without perspective
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1));
         p.setBrush(QColor(200, 220, 255));
         p.drawRect(QRectF(1.5, 5.5, 8, 8));
         p.drawPolygon(QPolygonF{{QPointF(1.5, 5.5), QPointF(5.5, 1.5), QPointF(13.5, 1.5), QPointF(9.5, 5.5)}});
         p.drawPolygon(QPolygonF{{QPointF(9.5, 5.5), QPointF(13.5, 1.5), QPointF(13.5, 9.5), QPointF(9.5, 13.5)}});
       }},
      {32914,  // lock light to camera: a sun with a padlock
       [](QPainter& p) {
         Sun(p, {5, 5}, 2.5);
         Padlock(p, {8, 7});
       }},
      {32857,  // snapshot: a framed picture of hills
       [](QPainter& p) {
         p.setPen(QPen(kInk, 1));
         p.setBrush(QColor(170, 210, 255));
         p.drawRect(QRectF(1.5, 2.5, 12, 10));
         p.setPen(Qt::NoPen);
         p.setBrush(kGreen);
         p.drawPolygon(QPolygonF{{QPointF(2, 12), QPointF(6, 6), QPointF(9, 10), QPointF(11, 8), QPointF(13, 12)}});
         p.setBrush(kYellow);
         p.drawEllipse(QPointF(10.5, 5.5), 1.5, 1.5);
       }},
      {57664,  // model stats: a bar chart
       [](QPainter& p) {
         Line(p, kInk, {1, 13.5}, {14, 13.5});
         p.fillRect(QRectF(2, 8, 3, 5), kBlue);
         p.fillRect(QRectF(6, 3, 3, 10), kGreen);
         p.fillRect(QRectF(10, 6, 3, 7), kRed);
       }},
      {32909,  // about: an "i" in a circle
       [](QPainter& p) {
         p.setPen(QPen(kBlue, 1));
         p.setBrush(QColor(200, 220, 255));
         p.drawEllipse(QPointF(7.5, 7.5), 6.5, 6.5);
         p.fillRect(QRectF(7, 3, 2, 2), kBlue);
         p.fillRect(QRectF(7, 6, 2, 6), kBlue);
       }},
  };
  return drawings;
}

}  // namespace

QImage ToolbarImage(int id, int scale) {
  QImage image(kToolbarPictureWidth * scale, kToolbarPictureHeight * scale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  auto drawing = Drawings().find(id);
  if (drawing != Drawings().end()) {
    drawing->second(painter);
  } else {
    painter.setPen(QPen(kGrey, 1));
    painter.drawRect(QRectF(2.5, 2.5, 10, 9));
  }
  return image;
}

QIcon ToolbarPicture(int id) {
  QIcon icon;
  for (int scale : {1, 2}) icon.addPixmap(QPixmap::fromImage(ToolbarImage(id, scale)));
  return icon;
}

}  // namespace mok::shell
