#include "components/RecImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

// A card with a folded corner and three text lines, scaled from a 16 pixel
// design.
QPixmap DrawRecord(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, size > kRecImageSize);
  p.scale(size / 16.0, size / 16.0);

  const QColor outline(0x40, 0x58, 0x80);
  QPainterPath sheet;
  sheet.moveTo(2.5, 1.5);
  sheet.lineTo(10.5, 1.5);
  sheet.lineTo(13.5, 4.5);
  sheet.lineTo(13.5, 14.5);
  sheet.lineTo(2.5, 14.5);
  sheet.closeSubpath();
  p.setPen(QPen(outline, 1.0));
  p.setBrush(QColor(0xFF, 0xFF, 0xF4));
  p.drawPath(sheet);

  // The folded corner.
  QPainterPath fold;
  fold.moveTo(10.5, 1.5);
  fold.lineTo(10.5, 4.5);
  fold.lineTo(13.5, 4.5);
  p.setBrush(QColor(0xD8, 0xDC, 0xE8));
  p.drawPath(fold);

  // A coloured title line and two text lines.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x2F, 0x6F, 0xD0));
  p.drawRect(QRectF(4, 6, 7, 2));
  p.setBrush(QColor(0x80, 0x88, 0x98));
  p.drawRect(QRectF(4, 9, 8, 1));
  p.drawRect(QRectF(4, 11, 6, 1));
  return pixmap;
}

// A solid triangle pointing up (ascending) or down (descending), centred.
QPixmap DrawSortMark(int size, bool ascending) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.scale(size / 16.0, size / 16.0);
  QPolygonF triangle;
  if (ascending)
    triangle << QPointF(8, 4.5) << QPointF(12.5, 10.5) << QPointF(3.5, 10.5);
  else
    triangle << QPointF(3.5, 5.5) << QPointF(12.5, 5.5) << QPointF(8, 11.5);
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 0.8));
  p.setBrush(QColor(0x50, 0x50, 0x50));
  p.drawPolygon(triangle);
  return pixmap;
}

}  // namespace

QPixmap RecImagePixmap(int index, int size) {
  if (size <= 0) return {};
  switch (index) {
    case kRecordImage:
      return DrawRecord(size);
    case kSortAscendingImage:
      return DrawSortMark(size, true);
    case kSortDescendingImage:
      return DrawSortMark(size, false);
    default:
      return {};
  }
}

QIcon RecImageIcon(int index) {
  const QPixmap small = RecImagePixmap(index, kRecImageSize);
  if (small.isNull()) return {};
  QIcon icon(small);
  icon.addPixmap(RecImagePixmap(index, 2 * kRecImageSize));
  return icon;
}
