#include "components/prgutil.h"

#include <QHeaderView>
#include <QStyle>
#include <QTreeView>
#include <algorithm>
#include <vector>

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
