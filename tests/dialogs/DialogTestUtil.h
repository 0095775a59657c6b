// Helpers for driving dialog widgets in tests without the QtTest library.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

#include "core/listdb.h"

// Sends a key press and release to the widget; ignored keys travel up to the
// widget's parents as real key strokes do.
inline void SendKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(widget, &release);
}

// Types each character of text as its own key stroke.
inline void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) SendKey(widget, Qt::Key_unknown, Qt::NoModifier, QString(c));
}

inline void SendDoubleClick(QWidget* widget, QPoint pos) {
  const QPointF local(pos);
  const QPointF global(widget->mapToGlobal(pos));
  QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
  QMouseEvent dbl(QEvent::MouseButtonDblClick, local, global, Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
  QApplication::sendEvent(widget, &dbl);
  QApplication::sendEvent(widget, &release);
}

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
