#include "components/prgutil.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QStyle>
#include <QTreeView>
#include <algorithm>
#include <exception>
#include <vector>

#include "platform/VersionInfo.h"

void FitListViewColumns(QTreeView* list) {
  if (!list || !list->isVisible()) return;
  QHeaderView* header = list->header();
  const int count = header->count();
  if (count == 0) return;

  std::vector<long long> widths(count);
  long long sum = 0;
  for (int i = 0; i < count; ++i) {
    widths[i] = header->sectionSize(i);
    sum += widths[i];
  }
  const long long avail =
      list->width() - list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);

  // Dividing by the sum plus one leaves a pixel or so to spare and never
  // divides by zero.
  for (int i = 0; i < count; ++i) {
    long long width = widths[i] * avail / (sum + 1);
    // A list with a border of its own loses its frame's pixels on the last
    // column as well.
    if (i == count - 1 && list->frameWidth() > 0) width -= 4;
    header->resizeSection(i, static_cast<int>(std::max(0LL, width)));
  }
  list->viewport()->update();
  header->viewport()->update();
}

bool ReadFileVersion(std::uint16_t& Major, std::uint16_t& Minor, std::uint16_t& Release,
                     std::uint16_t& Build) {
  TFileVersion version;
  if (!ReadExecutableVersion(QCoreApplication::applicationFilePath(), version)) return false;
  Major = version.Major;
  Minor = version.Minor;
  Release = version.Release;
  Build = version.Build;
  return true;
}

QString FormatProgramVersion() {
  try {
    std::uint16_t major = 0, minor = 0, release = 0, build = 0;
    if (ReadFileVersion(major, minor, release, build))
      return QStringLiteral("%1.%2.%3.%4").arg(major).arg(minor).arg(release).arg(build);
  } catch (const std::exception&) {
    // Whatever went wrong while reading, the version is unknown.
  }
  return QStringLiteral("(unknown)");
}

QString ProgramVersion() {
  static const QString version = FormatProgramVersion();
  return version;
}

namespace {

// Fixes the version text as the application object comes into being.
void ComputeProgramVersion() { ProgramVersion(); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(ComputeProgramVersion)
