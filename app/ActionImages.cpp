#include "app/ActionImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>
#include <cmath>

namespace {

// Every picture is drawn on a 16 x 16 grid; the painter is scaled for larger
// forms.
using TDraw = void (*)(QPainter&);

const QColor kOutline(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kFolder(236, 190, 72);
const QColor kFolderDark(184, 134, 30);
const QColor kBlue(36, 92, 186);
const QColor kLightBlue(150, 190, 240);
const QColor kGreen(40, 150, 60);
const QColor kRed(200, 40, 40);

QPen Pen(const QColor& c, qreal w = 1.0) {
  QPen p(c, w);
  p.setJoinStyle(Qt::MiterJoin);
  p.setCapStyle(Qt::SquareCap);
  return p;
}

// A sheet of paper with a folded top-right corner.
void Page(QPainter& p, qreal x, qreal y, qreal w, qreal h, const QColor& fill = kPaper) {
  QPainterPath path;
  const qreal fold = 3.5;
  path.moveTo(x, y);
  path.lineTo(x + w - fold, y);
  path.lineTo(x + w, y + fold);
  path.lineTo(x + w, y + h);
  path.lineTo(x, y + h);
  path.closeSubpath();
  p.setPen(Pen(kOutline));
  p.setBrush(fill);
  p.drawPath(path);
  p.drawLine(QPointF(x + w - fold, y), QPointF(x + w - fold, y + fold));
  p.drawLine(QPointF(x + w - fold, y + fold), QPointF(x + w, y + fold));
}

void TextLines(QPainter& p, qreal x, qreal y, qreal w, int count, qreal step = 2.0) {
  p.setPen(Pen(QColor(120, 120, 120)));
  for (int i = 0; i < count; ++i)
    p.drawLine(QPointF(x, y + i * step), QPointF(x + w, y + i * step));
}

void Plus(QPainter& p, qreal cx, qreal cy, const QColor& c = kGreen) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawRect(QRectF(cx - 3.5, cy - 1, 7, 2));
  p.drawRect(QRectF(cx - 1, cy - 3.5, 2, 7));
}

void Star(QPainter& p, qreal cx, qreal cy, qreal r, const QColor& fill) {
  QPainterPath path;
  for (int i = 0; i < 10; ++i) {
    const qreal a = -M_PI / 2 + i * M_PI / 5;
    const qreal rr = (i % 2 == 0) ? r : r * 0.45;
    const QPointF pt(cx + rr * std::cos(a), cy + rr * std::sin(a));
    if (i == 0)
      path.moveTo(pt);
    else
      path.lineTo(pt);
  }
  path.closeSubpath();
  p.setPen(Pen(kFolderDark, 0.8));
  p.setBrush(fill);
  p.drawPath(path);
}

void Folder(QPainter& p, qreal x, qreal y, qreal w, qreal h) {
  QPainterPath back;
  back.moveTo(x, y + 2);
  back.lineTo(x + 5, y + 2);
  back.lineTo(x + 6.5, y);
  back.lineTo(x + 10, y);
  back.lineTo(x + 11, y + 2);
  back.lineTo(x + w, y + 2);
  back.lineTo(x + w, y + h);
  back.lineTo(x, y + h);
  back.closeSubpath();
  p.setPen(Pen(kFolderDark));
  p.setBrush(kFolder);
  p.drawPath(back);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& c) {
  p.setPen(Pen(c, 2.0));
  p.drawLine(from, to);
  const qreal a = std::atan2(to.y() - from.y(), to.x() - from.x());
  QPolygonF head;
  head << to + QPointF(std::cos(a) * 1.5, std::sin(a) * 1.5)
       << to + QPointF(std::cos(a + 2.4) * 4, std::sin(a + 2.4) * 4)
       << to + QPointF(std::cos(a - 2.4) * 4, std::sin(a - 2.4) * 4);
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPolygon(head);
}

void Disk(QPainter& p, qreal x, qreal y, qreal s) {
  p.setPen(Pen(kOutline));
  p.setBrush(kBlue);
  p.drawRect(QRectF(x, y, s, s));
  p.setBrush(kPaper);
  p.drawRect(QRectF(x + 2, y, s - 4, s * 0.45));
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(QRectF(x + 3, y + s * 0.65, s - 6, s * 0.35));
}

void Pencil(QPainter& p, QPointF tip, qreal len) {
  p.save();
  p.translate(tip);
  p.rotate(-45);
  p.setPen(Pen(kOutline, 0.8));
  p.setBrush(QColor(250, 200, 60));
  p.drawRect(QRectF(2.5, -1.5, len - 4, 3));
  p.setBrush(QColor(230, 120, 120));
  p.drawRect(QRectF(len - 1.5, -1.5, 1.5, 3));
  QPolygonF nib;
  nib << QPointF(0, 0) << QPointF(2.5, -1.5) << QPointF(2.5, 1.5);
  p.setBrush(QColor(240, 220, 180));
  p.drawPolygon(nib);
  p.restore();
}

void Magnifier(QPainter& p, qreal cx, qreal cy, qreal r) {
  p.setPen(Pen(kOutline, 1.5));
  p.setBrush(QColor(210, 230, 255));
  p.drawEllipse(QPointF(cx, cy), r, r);
  p.setPen(Pen(QColor(90, 60, 30), 2.5));
  p.drawLine(QPointF(cx + r * 0.75, cy + r * 0.75), QPointF(cx + r * 1.9, cy + r * 1.9));
}

// A small table row: a record of the list.
void RecordRow(QPainter& p, qreal x, qreal y, qreal w) {
  p.setPen(Pen(kOutline));
  p.setBrush(kPaper);
  p.drawRect(QRectF(x, y, w, 5));
  p.setBrush(kLightBlue);
  p.drawRect(QRectF(x, y, 4, 5));
  p.drawLine(QPointF(x + w / 2 + 2, y), QPointF(x + w / 2 + 2, y + 5));
}

void Tag(QPainter& p, qreal x, qreal y, const QColor& fill) {
  QPolygonF tag;
  tag << QPointF(x, y) << QPointF(x + 6, y) << QPointF(x + 9, y + 3) << QPointF(x + 6, y + 6)
      << QPointF(x, y + 6);
  p.setPen(Pen(kOutline, 0.8));
  p.setBrush(fill);
  p.drawPolygon(tag);
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(x + 5.8, y + 3), 0.9, 0.9);
}

void DrawNewFile(QPainter& p) {
  Page(p, 2.5, 0.5, 10, 14);
  Star(p, 12, 11.5, 4, QColor(255, 220, 40));
}

void DrawOpenFile(QPainter& p) {
  Folder(p, 0.5, 3.5, 13, 10);
  QPolygonF front;
  front << QPointF(3, 7) << QPointF(15.5, 7) << QPointF(13.5, 13.5) << QPointF(0.5, 13.5);
  p.setPen(Pen(kFolderDark));
  p.setBrush(QColor(250, 214, 110));
  p.drawPolygon(front);
}

void DrawSaveFile(QPainter& p) { Disk(p, 1.5, 1.5, 13); }

void DrawSaveAs(QPainter& p) {
  Disk(p, 0.5, 0.5, 11);
  Pencil(p, QPointF(7.5, 15), 11);
}

void DrawPrint(QPainter& p) {
  Page(p, 4.5, 0.5, 7, 6);
  p.setPen(Pen(kOutline));
  p.setBrush(QColor(190, 190, 190));
  p.drawRect(QRectF(0.5, 6.5, 15, 6));
  p.setBrush(kPaper);
  p.drawRect(QRectF(3.5, 10.5, 9, 5));
  TextLines(p, 5, 12.5, 6, 2);
  p.setPen(Qt::NoPen);
  p.setBrush(kGreen);
  p.drawRect(QRectF(12, 8, 2, 1.5));
}

void DrawNewRecord(QPainter& p) {
  RecordRow(p, 0.5, 1.5, 13);
  RecordRow(p, 0.5, 6.5, 10);
  Plus(p, 12, 12);
}

void DrawEditRecord(QPainter& p) {
  RecordRow(p, 0.5, 1.5, 13);
  RecordRow(p, 0.5, 6.5, 9);
  Pencil(p, QPointF(6, 15), 13);
}

void DrawDeleteRecord(QPainter& p) {
  RecordRow(p, 0.5, 1.5, 13);
  RecordRow(p, 0.5, 6.5, 9);
  p.setPen(Pen(kRed, 2.2));
  p.drawLine(QPointF(8.5, 9.5), QPointF(14.5, 15.5));
  p.drawLine(QPointF(14.5, 9.5), QPointF(8.5, 15.5));
}

void DrawProperties(QPainter& p) {
  p.setPen(Pen(kOutline));
  p.setBrush(QColor(240, 240, 240));
  p.drawRect(QRectF(0.5, 1.5, 15, 13));
  p.setBrush(kBlue);
  p.drawRect(QRectF(0.5, 1.5, 15, 3));
  p.setBrush(kPaper);
  for (int i = 0; i < 3; ++i) {
    p.setPen(Pen(kOutline, 0.8));
    p.drawRect(QRectF(6.5, 6 + i * 3, 7.5, 2));
    p.setPen(Pen(QColor(90, 90, 90)));
    p.drawLine(QPointF(2, 7 + i * 3), QPointF(5, 7 + i * 3));
  }
}

void DrawSendToPalm(QPainter& p) {
  p.setPen(Pen(kOutline));
  p.setBrush(QColor(120, 120, 130));
  p.drawRoundedRect(QRectF(7.5, 0.5, 8, 15), 1.5, 1.5);
  p.setBrush(QColor(170, 200, 150));
  p.drawRect(QRectF(8.5, 2.5, 6, 7));
  p.setBrush(QColor(60, 60, 60));
  p.drawEllipse(QPointF(11.5, 12.5), 1.3, 1.3);
  Arrow(p, QPointF(0.5, 8), QPointF(6.5, 8), kGreen);
}

void DrawExit(QPainter& p) {
  p.setPen(Pen(kOutline));
  p.setBrush(QColor(160, 110, 60));
  p.drawRect(QRectF(1.5, 0.5, 8, 15));
  p.setBrush(QColor(60, 40, 20));
  p.drawRect(QRectF(3.5, 2.5, 4, 13));
  Arrow(p, QPointF(6, 8), QPointF(14.5, 8), kRed);
}

void DrawCategories(QPainter& p) {
  Tag(p, 0.5, 1.5, QColor(250, 120, 120));
  Tag(p, 5.5, 5.5, QColor(120, 200, 120));
  Tag(p, 2.5, 9.5, QColor(120, 160, 250));
}

void DrawAbout(QPainter& p) {
  p.setPen(Pen(kBlue.darker(130)));
  p.setBrush(kBlue);
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  p.setPen(Qt::NoPen);
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(8, 4.2), 1.4, 1.4);
  p.drawRect(QRectF(6.8, 6.5, 2.4, 6.5));
}

void DrawFont(QPainter& p) {
  QFont f("Serif");
  f.setPixelSize(14);
  f.setBold(true);
  p.setFont(f);
  p.setPen(kOutline);
  p.drawText(QRectF(0, 0, 11, 15), Qt::AlignCenter, "A");
  p.setPen(kBlue);
  f.setPixelSize(9);
  p.setFont(f);
  p.drawText(QRectF(8, 5, 8, 11), Qt::AlignCenter, "a");
}

void DrawFavorites(QPainter& p) {
  Folder(p, 0.5, 4.5, 13, 10);
  Star(p, 10.5, 6, 5, QColor(255, 220, 40));
}

void DrawExport(QPainter& p) {
  p.setPen(Pen(kOutline));
  p.setBrush(QColor(200, 170, 120));
  p.drawRect(QRectF(0.5, 7.5, 9, 8));
  Arrow(p, QPointF(5, 10), QPointF(14, 2), kGreen);
}

void DrawRecentFile(QPainter& p) {
  Page(p, 2.5, 0.5, 11, 15);
  TextLines(p, 4.5, 5, 7, 5);
}

void DrawColor(QPainter& p) {
  p.setPen(Pen(kOutline));
  p.setBrush(QColor(230, 200, 150));
  p.drawEllipse(QRectF(0.5, 1.5, 15, 13));
  p.setPen(Qt::NoPen);
  const QColor dots[] = {kRed, kGreen, kBlue, QColor(250, 210, 30)};
  const QPointF at[] = {{4, 5}, {8, 4}, {12, 6}, {5, 10}};
  for (int i = 0; i < 4; ++i) {
    p.setBrush(dots[i]);
    p.drawEllipse(at[i], 1.7, 1.7);
  }
  p.setBrush(kPaper);
  p.drawEllipse(QPointF(10.5, 11), 1.8, 1.8);
}

void DrawGridLines(QPainter& p) {
  p.setPen(Pen(kOutline));
  p.setBrush(kPaper);
  p.drawRect(QRectF(0.5, 0.5, 15, 15));
  p.setPen(Pen(kBlue));
  for (int i = 1; i < 4; ++i) {
    p.drawLine(QPointF(0.5, 0.5 + i * 3.75), QPointF(15.5, 0.5 + i * 3.75));
    p.drawLine(QPointF(0.5 + i * 3.75, 0.5), QPointF(0.5 + i * 3.75, 15.5));
  }
}

void DrawFind(QPainter& p) { Magnifier(p, 6, 6, 4.5); }

void DrawFindAgain(QPainter& p) {
  Magnifier(p, 5, 5, 3.8);
  Arrow(p, QPointF(8.5, 13), QPointF(15, 13), kGreen);
}

void DrawCopy(QPainter& p) {
  Page(p, 0.5, 0.5, 9, 11);
  TextLines(p, 2, 4, 5, 3);
  Page(p, 6.5, 4.5, 9, 11);
  TextLines(p, 8, 8, 5, 3);
}

void DrawImport(QPainter& p) {
  p.setPen(Pen(kOutline));
  p.setBrush(QColor(200, 170, 120));
  p.drawRect(QRectF(6.5, 7.5, 9, 8));
  Arrow(p, QPointF(1, 1), QPointF(10, 10), kBlue);
}

void DrawChangeCategory(QPainter& p) {
  Tag(p, 0.5, 0.5, QColor(250, 120, 120));
  Tag(p, 6.5, 9.5, QColor(120, 200, 120));
  Arrow(p, QPointF(4, 8), QPointF(7, 12.5), kBlue);
}

constexpr std::array<TDraw, kActionImageCount> kDrawers = {
    DrawNewFile,   DrawOpenFile,   DrawSaveFile,     DrawSaveAs,        DrawPrint,
    DrawNewRecord, DrawEditRecord, DrawDeleteRecord, DrawProperties,    DrawSendToPalm,
    DrawExit,      DrawCategories, DrawAbout,        DrawFont,          DrawFavorites,
    DrawExport,    DrawRecentFile, DrawColor,        DrawGridLines,     DrawFind,
    DrawFindAgain, DrawCopy,       DrawImport,       DrawChangeCategory};

// The 16 x 16 form keeps crisp, unsmoothed edges; larger forms are smoothed.
void PaintScaled(QPaintDevice& device, TDraw draw, int size) {
  QPainter p(&device);
  p.setRenderHint(QPainter::Antialiasing, size > 16);
  p.scale(size / 16.0, size / 16.0);
  draw(p);
}

QPixmap Render(TDraw draw, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  PaintScaled(pm, draw, size);
  return pm;
}

QIcon MakeIcon(TDraw draw) {
  QIcon icon;
  icon.addPixmap(Render(draw, 16));
  icon.addPixmap(Render(draw, 24));
  icon.addPixmap(Render(draw, 32));
  return icon;
}

}  // namespace

QIcon ActionImage(int index) {
  static std::array<QIcon, kActionImageCount> cache;
  if (index < 0 || index >= kActionImageCount) return QIcon();
  if (cache[index].isNull()) cache[index] = MakeIcon(kDrawers[index]);
  return cache[index];
}

void DrawMainWindowIcon(QPainter& p) {
  p.setPen(Pen(kOutline));
  p.setBrush(QColor(120, 120, 130));
  p.drawRoundedRect(QRectF(3.5, 0.5, 9, 15), 1.5, 1.5);
  p.setBrush(QColor(170, 200, 150));
  p.drawRect(QRectF(4.5, 2.5, 7, 8));
  TextLines(p, 5.5, 4.5, 5, 3);
  p.setBrush(QColor(60, 60, 60));
  p.drawEllipse(QPointF(8, 13), 1.2, 1.2);
}

QImage MainWindowImage(int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  PaintScaled(image, DrawMainWindowIcon, size);
  return image;
}

QIcon MainWindowIcon() {
  static QIcon icon;
  if (icon.isNull()) {
    for (int size : {16, 32, 48}) icon.addPixmap(QPixmap::fromImage(MainWindowImage(size)));
  }
  return icon;
}
