#include "components/SortByMenu.h"

#include <QAction>

#include "components/RecImages.h"
#include "components/RecordListModel.h"
#include "components/RecordsListView.h"

TSortByMenu::TSortByMenu(TRecordsListView* view, QWidget* parent)
    : QMenu(QStringLiteral("Sort &by"), parent), view_(view) {
  setObjectName(QStringLiteral("SortByMenu"));
  connect(this, &QMenu::aboutToShow, this, &TSortByMenu::Rebuild);
  Rebuild();
}

void TSortByMenu::Rebuild() {
  clear();
  if (!view_) return;
  const TRecordListModel* model = view_->Model();
  for (int column = 0; column < kRecordColumnCount; ++column) {
    QString caption = model->Caption(column);
    caption.replace(QLatin1Char('&'), QLatin1String("&&"));
    const int mark = model->HeaderImage(column);
    if (mark == kSortAscendingImage)
      caption += QStringLiteral(" (ascending)");
    else if (mark == kSortDescendingImage)
      caption += QStringLiteral(" (descending)");
    QAction* entry = addAction(QStringLiteral("&%1 %2").arg(column + 1).arg(caption));
    entry->setCheckable(true);
    entry->setChecked(mark != -1);
    connect(entry, &QAction::triggered, this, [this, column] {
      if (view_) emit view_->ColumnClicked(column, false);
    });
  }
  addSeparator();
  QAction* fit = addAction(QStringLiteral("&Fit columns to window"));
  connect(fit, &QAction::triggered, this, [this] {
    if (view_) emit view_->ColumnClicked(0, true);
  });
}
