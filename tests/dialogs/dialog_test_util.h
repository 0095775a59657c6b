// Helpers of the dialog tests: a bounded modal run, category tables.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "core/listdb.h"

// Runs a real modal exec() of the dialog while step drives it from the event
// loop; a dialog that step leaves open is closed after a while with code -1,
// so a broken close never hangs the run.
inline int ExecWhile(QDialog& dialog, std::function<void()> step) {
  QTimer::singleShot(0, &dialog, std::move(step));
  QTimer::singleShot(10000, &dialog, [&dialog] {
    if (dialog.isVisible()) dialog.done(-1);
  });
  return dialog.exec();
}

// A document whose category table holds "Unfiled" and the given names, with
// ids 1, 2, ... in that order.
inline void AddCategories(TListDBData& doc, std::initializer_list<const char*> names) {
  for (const char* name : names) doc.Categories().Add(name);
}
