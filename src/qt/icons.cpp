#include "qt/icons.h"

#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <functional>

namespace qt {

namespace {

constexpr int kSize = 32;

// An aircraft seen from above, nose up, in a box of 32 x 32.
QPainterPath aircraftPath() {
  QPainterPath p;
  p.addPolygon(QPolygonF({{16, 2},
                          {18, 5},
                          {18, 12},
                          {30, 18},
                          {30, 21},
                          {18, 18},
                          {18, 25},
                          {22, 28},
                          {22, 30},
                          {16, 28},
                          {10, 30},
                          {10, 28},
                          {14, 25},
                          {14, 18},
                          {2, 21},
                          {2, 18},
                          {14, 12},
                          {14, 5}}));
  p.closeSubpath();
  return p;
}

QPixmap canvas() {
  QPixmap pm(kSize, kSize);
  pm.fill(Qt::transparent);
  return pm;
}

void drawAircraft(QPainter& g, const QColor& fill) {
  g.setPen(QPen(fill.darker(160), 1));
  g.setBrush(fill);
  g.drawPath(aircraftPath());
}

void drawPanel(QPainter& g) {
  g.setPen(QPen(QColor(40, 40, 40), 1.5));
  g.setBrush(QColor(70, 70, 80));
  g.drawRoundedRect(QRectF(2, 6, 28, 20), 3, 3);
  g.setBrush(QColor(235, 235, 235));
  g.drawEllipse(QRectF(5, 9, 11, 11));
  g.drawEllipse(QRectF(17, 9, 11, 11));
  g.setPen(QPen(QColor(200, 30, 30), 1.5));
  g.drawLine(QPointF(10.5, 14.5), QPointF(13.5, 11));
  g.drawLine(QPointF(22.5, 14.5), QPointF(20, 11));
}

void drawSound(QPainter& g) {
  g.setPen(QPen(QColor(30, 30, 60), 1));
  g.setBrush(QColor(60, 90, 170));
  g.drawPolygon(QPolygonF({{4, 12}, {10, 12}, {17, 5}, {17, 27}, {10, 20}, {4, 20}}));
  g.setBrush(Qt::NoBrush);
  g.setPen(QPen(QColor(60, 90, 170), 2));
  g.drawArc(QRectF(14, 10, 8, 12), -60 * 16, 120 * 16);
  g.drawArc(QRectF(14, 6, 14, 20), -60 * 16, 120 * 16);
}

void drawScan(QPainter& g) {
  g.setPen(QPen(QColor(50, 50, 50), 3));
  g.setBrush(QColor(200, 230, 255, 160));
  g.drawEllipse(QRectF(4, 4, 17, 17));
  g.setPen(QPen(QColor(120, 70, 20), 4, Qt::SolidLine, Qt::RoundCap));
  g.drawLine(QPointF(19, 19), QPointF(28, 28));
}

void drawDelete(QPainter& g) {
  g.setPen(QPen(QColor(200, 30, 30), 5, Qt::SolidLine, Qt::RoundCap));
  g.drawLine(QPointF(7, 7), QPointF(25, 25));
  g.drawLine(QPointF(25, 7), QPointF(7, 25));
}

void drawEdit(QPainter& g) {
  g.setPen(QPen(QColor(90, 60, 20), 1));
  g.setBrush(QColor(240, 190, 60));
  g.drawPolygon(QPolygonF({{22, 3}, {29, 10}, {12, 27}, {5, 20}}));
  g.setBrush(QColor(240, 210, 170));
  g.drawPolygon(QPolygonF({{5, 20}, {12, 27}, {3, 29}}));
}

void drawArchive(QPainter& g) {
  g.setPen(QPen(QColor(110, 80, 20), 1));
  g.setBrush(QColor(245, 205, 90));
  g.drawRect(QRectF(5, 4, 22, 25));
  g.setBrush(QColor(80, 80, 80));
  for (int y = 5; y < 18; y += 3) g.drawRect(QRectF(y % 2 ? 14 : 16, y, 3, 2));
  g.drawRect(QRectF(13, 18, 6, 6));
}

void drawScenery(QPainter& g) {
  g.setPen(QPen(QColor(20, 70, 20), 1));
  g.setBrush(QColor(110, 170, 230));
  g.drawRect(QRectF(3, 5, 26, 22));
  g.setBrush(QColor(70, 150, 60));
  g.drawPolygon(QPolygonF({{3, 27}, {3, 19}, {11, 11}, {18, 19}, {22, 15}, {29, 22}, {29, 27}}));
}

// A 32 x 32 icon of one drawing.
QIcon iconOf(const std::function<void(QPainter&)>& draw) {
  QPixmap pm = canvas();
  QPainter g(&pm);
  g.setRenderHint(QPainter::Antialiasing);
  draw(g);
  g.end();
  return QIcon(pm);
}

void drawActiveAircraft(QPainter& g) {
  drawAircraft(g, QColor(70, 110, 200));
}

void drawHiddenAircraft(QPainter& g) {
  drawAircraft(g, QColor(190, 190, 190));
}

}  // namespace

QIcon toolbarImage(int image) {
  using Draw = void (*)(QPainter&);
  const Draw drawings[] = {drawActiveAircraft, drawPanel, drawSound, drawScan, drawDelete, drawEdit};
  if (image < 1 || image > 6) return {};
  return iconOf(drawings[image - 1]);
}

QIcon listImage(int image) {
  using Draw = void (*)(QPainter&);
  const Draw drawings[] = {drawActiveAircraft, drawPanel, drawSound, drawHiddenAircraft, drawArchive, drawScenery};
  if (image < 1 || image > 6) return {};
  return iconOf(drawings[image - 1]);
}

QPixmap logoPicture(int width, int height) {
  QPixmap pm(width, height);
  pm.fill(Qt::transparent);
  QPainter g(&pm);
  g.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height);
  sky.setColorAt(0, QColor(40, 90, 170));
  sky.setColorAt(1, QColor(150, 200, 240));
  g.setPen(Qt::NoPen);
  g.setBrush(sky);
  g.drawRoundedRect(QRectF(0, 0, width, height), 8, 8);
  // The hangar: a vaulted roof over the lower half.
  const double w = width, h = height;
  QPainterPath hangar;
  hangar.moveTo(w * 0.08, h);
  hangar.lineTo(w * 0.08, h * 0.72);
  hangar.quadTo(w * 0.5, h * 0.30, w * 0.92, h * 0.72);
  hangar.lineTo(w * 0.92, h);
  hangar.closeSubpath();
  g.setBrush(QColor(90, 90, 100));
  g.drawPath(hangar);
  g.setBrush(QColor(30, 30, 35));
  g.drawRect(QRectF(w * 0.30, h * 0.70, w * 0.40, h * 0.30));
  // The aircraft above it, scaled from the 32 x 32 drawing.
  g.save();
  const double s = std::min(w, h) / 32.0 * 0.45;
  g.translate(w * 0.5 - 16 * s, h * 0.06);
  g.scale(s, s);
  drawAircraft(g, QColor(250, 250, 250));
  g.restore();
  return pm;
}

QIcon appIcon(const std::string& shareFolder) {
  QIcon icon;
  for (const char* size : {"48x48", "256x256"}) {
    const QString file =
        QString::fromStdString(shareFolder + "/icons/hicolor/" + size + "/apps/org.hangarpak.Hangarpak.png");
    if (QFileInfo::exists(file)) icon.addFile(file);
  }
  return icon.isNull() ? QIcon(logoPicture(64, 64)) : icon;
}

}  // namespace qt
