// The progress of a long command (print, export, import): nothing for the
// first second, so that quick work neither shows a dialog nor takes input;
// after it a window-modal progress dialog with Cancel that keeps the windows
// painted while the work goes on.
#pragma once

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QString>

class QWidget;

class TDelayedProgressDialog {
 public:
  static constexpr int kDelayMs = 1000;  // work this long shows its progress
  static constexpr int kStepMs = 50;     // the dialog is updated this often

  // label: what is being done ("Printing..."); steps: the value that means
  // all done. The clock starts here.
  TDelayedProgressDialog(QWidget* owner, const QString& label, const QString& objectName, int steps,
                         int delayMs = kDelayMs);

  // Reports the work done so far (0 to steps); false once Cancel was pressed.
  bool Step(int done);
  // Closes the dialog before the work's outcome is shown.
  void Close() { dialog_.reset(); }

  QProgressDialog& Dialog() { return dialog_; }

 private:
  QProgressDialog dialog_;
  QElapsedTimer clock_;
  int delayMs_;
  qint64 shown_ = -1;  // when the dialog was last updated
};
