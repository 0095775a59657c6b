// Writes the program's icon for installation from the very drawing the main
// window uses: PNG files of the usual sizes and one scalable SVG, laid out as
// in an icon theme (<size>x<size>/apps/<name>.png, scalable/apps/<name>.svg).
//
//   render_icons <output folder> <icon name>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <cstdio>

#include "app/ActionImages.h"

namespace {

constexpr int kPngSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool WritePng(const QString& root, const QString& name, int size) {
  const QString folder = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
  if (!QDir().mkpath(folder)) return false;
  return MainWindowImage(size).save(folder + '/' + name + ".png", "PNG");
}

bool WriteSvg(const QString& root, const QString& name) {
  const QString folder = root + "/scalable/apps";
  if (!QDir().mkpath(folder)) return false;
  const QString path = folder + '/' + name + ".svg";
  QSvgGenerator svg;
  svg.setFileName(path);
  svg.setTitle(QStringLiteral("Vornik"));
  svg.setDescription(QStringLiteral("The icon of the Vornik list database editor"));
  // The drawing's own 16 x 16 grid is the picture's coordinate system; the
  // nominal size is what a viewer shows when nothing asks for another.
  svg.setViewBox(QRectF(0, 0, 16, 16));
  svg.setSize(QSize(256, 256));
  svg.setResolution(96);
  QPainter p;
  if (!p.begin(&svg)) return false;
  p.setRenderHint(QPainter::Antialiasing);
  DrawMainWindowIcon(p);
  return p.end() && QFileInfo(path).size() > 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <output folder> <icon name>\n", argv[0]);
    return 2;
  }
  // The painters take their default font from the application.
  QGuiApplication app(argc, argv);
  const QString root = QString::fromLocal8Bit(argv[1]);
  const QString name = QString::fromLocal8Bit(argv[2]);
  for (int size : kPngSizes) {
    if (!WritePng(root, name, size)) {
      std::fprintf(stderr, "%s: cannot write the %d pixel icon under %s\n", argv[0], size, argv[1]);
      return 1;
    }
  }
  if (!WriteSvg(root, name)) {
    std::fprintf(stderr, "%s: cannot write the scalable icon under %s\n", argv[0], argv[1]);
    return 1;
  }
  return 0;
}
