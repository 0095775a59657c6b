#include "components/DelayedProgressDialog.h"

#include <QApplication>
#include <algorithm>

TDelayedProgressDialog::TDelayedProgressDialog(QWidget* owner, const QString& label,
                                               const QString& objectName, int steps, int delayMs)
    : dialog_(label, QStringLiteral("Cancel"), 0, std::max(steps, 1), owner), delayMs_(delayMs) {
  dialog_.setObjectName(objectName);
  dialog_.setWindowTitle(QApplication::applicationName());
  dialog_.setWindowModality(Qt::WindowModal);
  dialog_.setMinimumDuration(delayMs);
  dialog_.setAutoClose(false);
  dialog_.setAutoReset(false);
  clock_.start();
}

bool TDelayedProgressDialog::Step(int done) {
  const qint64 now = clock_.elapsed();
  if (now < delayMs_) return true;
  if (shown_ < 0 || now - shown_ >= kStepMs) {
    // Shown at the first step past the delay, also when nothing is done yet
    // (the dialog would wait for a value above its minimum).
    if (!dialog_.isVisible()) dialog_.show();
    dialog_.setValue(std::clamp(done, 0, dialog_.maximum()));
    QCoreApplication::processEvents();
    shown_ = now;
  }
  return !dialog_.wasCanceled();
}
