// The icons installed for the desktop's menu: a PNG file for every size the
// menus and file managers ask for, and a scalable one, all showing one
// picture, the one the main window shows in its title bar.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>

#include "main_form_fixture.h"

namespace {

const QString kRoot = QStringLiteral(VORNIK_ICON_DIR);
const QString kName = QStringLiteral(VORNIK_APP_ID);
constexpr int kSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

QString PngPath(int size) {
  return QStringLiteral("%1/%2x%2/apps/%3.png").arg(kRoot).arg(size).arg(kName);
}

QImage Argb(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }

// Share of pixels whose colour or coverage differs by more than scaling
// explains.
double DifferentShare(const QImage& a, const QImage& b) {
  const QImage p = Argb(a), q = Argb(b);
  int differing = 0;
  for (int y = 0; y < p.height(); ++y) {
    for (int x = 0; x < p.width(); ++x) {
      const QRgb s = p.pixel(x, y), t = q.pixel(x, y);
      const int d = std::max({std::abs(qRed(s) - qRed(t)), std::abs(qGreen(s) - qGreen(t)),
                              std::abs(qBlue(s) - qBlue(t)), std::abs(qAlpha(s) - qAlpha(t))});
      if (d > 64) ++differing;
    }
  }
  return double(differing) / (p.width() * p.height());
}

QImage Scaled(const QImage& image, int size) {
  return Argb(image).scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

// Each file is a PNG of its size with a transparent ground and a picture on
// it: covered in part, in several colours.
TEST(InstalledIcon, EverySizeIsAPngPictureOnATransparentGround) {
  for (int size : kSizes) {
    SCOPED_TRACE(size);
    QFile file(PngPath(size));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.peek(8) == QByteArray("\x89PNG\r\n\x1a\n", 8));
    QImageReader reader(&file, "png");
    const QImage image = Argb(reader.read());
    ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(image.size(), QSize(size, size));
    EXPECT_TRUE(image.hasAlphaChannel());
    int opaque = 0, clear = 0;
    QSet<QRgb> colours;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const QRgb p = image.pixel(x, y);
        if (qAlpha(p) == 255) {
          ++opaque;
          colours.insert(p);
        } else if (qAlpha(p) == 0) {
          ++clear;
        }
      }
    }
    EXPECT_GT(opaque, size * size / 4);
    EXPECT_GT(clear, 0);
    EXPECT_GE(colours.size(), 4);
  }
}

// One picture at every size and in the scalable file: each looks like the
// largest file brought to its size.
TEST(InstalledIcon, EverySizeAndTheScalableFileShowTheSamePicture) {
  const QImage largest(PngPath(256));
  ASSERT_FALSE(largest.isNull());
  for (int size : kSizes) {
    SCOPED_TRACE(size);
    EXPECT_LT(DifferentShare(QImage(PngPath(size)), Scaled(largest, size)), 0.05);
  }
  QSvgRenderer svg(QStringLiteral("%1/scalable/apps/%2.svg").arg(kRoot, kName));
  ASSERT_TRUE(svg.isValid());
  for (int size : {48, 256}) {
    SCOPED_TRACE(size);
    QImage drawn(size, size, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter p(&drawn);
    svg.render(&p);
    p.end();
    EXPECT_LT(DifferentShare(drawn, Scaled(largest, size)), 0.05);
  }
}

// The window's title bar and task bar show the installed picture.
TEST_F(MainFormTest, TheWindowShowsTheInstalledIcon) {
  for (int size : {16, 32, 48}) {
    SCOPED_TRACE(size);
    const QImage shown = form->windowIcon().pixmap(size).toImage();
    EXPECT_LT(DifferentShare(shown, QImage(PngPath(size))), 0.01);
  }
}
