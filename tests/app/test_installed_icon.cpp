// The icons installed for the desktop's menu show the main window's picture.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include "app/ActionImages.h"

namespace {

const QString kRoot = QStringLiteral(VORNIK_ICON_DIR);
const QString kName = QStringLiteral(VORNIK_APP_ID);

// Share of pixels whose colour or coverage differs by more than a smoothing
// step would explain.
double DifferentShare(const QImage& a, const QImage& b) {
  int differing = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      const int d = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
      if (d > 48) ++differing;
    }
  }
  return double(differing) / (a.width() * a.height());
}

}  // namespace

TEST(InstalledIcon, EveryPixelSizeIsTheWindowPictureAtThatSize) {
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    SCOPED_TRACE(size);
    QImage png(QStringLiteral("%1/%2x%2/apps/%3.png").arg(kRoot).arg(size).arg(kName));
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), QSize(size, size));
    EXPECT_EQ(png.convertToFormat(QImage::Format_ARGB32_Premultiplied), MainWindowImage(size));
  }
}

TEST(InstalledIcon, ScalableFormDrawsTheWindowPictureAtAnySize) {
  QSvgRenderer svg(QStringLiteral("%1/scalable/apps/%2.svg").arg(kRoot, kName));
  ASSERT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBoxF(), QRectF(0, 0, 16, 16));
  for (int size : {48, 200}) {
    SCOPED_TRACE(size);
    QImage drawn(size, size, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter p(&drawn);
    svg.render(&p);
    p.end();
    EXPECT_LT(DifferentShare(drawn, MainWindowImage(size)), 0.01);
  }
}
