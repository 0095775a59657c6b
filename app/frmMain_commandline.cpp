// The main window's list named on the command line.
#include <QFileInfo>
#include <QTimer>
#include <QWindow>

#include "app/frmMain.h"
#include "platform/ErrorBox.h"

void TMainListDBForm::OpenCommandLineFile(const QString& path) {
  // As Open does once its dialog has named the file: the same checks, error
  // box and recent files. The path is made absolute as the dialog's is.
  const QString absolute = QFileInfo(path).absoluteFilePath();
  RunGuarded(this, [this, absolute] {
    QuerySaveChanges();
    CloseDocument();
    OpenListFile(absolute);
  });
}

void TMainListDBForm::OpenCommandLineFileOnceShown(const QString& path) {
  // Once the window is on the screen where the desktop placed it, so that an
  // error box opens centred on it. A window that is never exposed (started
  // minimised, say) opens the list after two seconds all the same. The name is
  // made absolute now, against the folder the program was started in.
  const QString absolute = QFileInfo(path).absoluteFilePath();
  constexpr int kPollMs = 20, kMaxPolls = 100;
  auto* poll = new QTimer(this);
  poll->setInterval(kPollMs);
  connect(poll, &QTimer::timeout, this, [this, poll, absolute, polls = 0]() mutable {
    const bool shown = windowHandle() != nullptr && windowHandle()->isExposed();
    if (!shown && ++polls < kMaxPolls) return;
    poll->stop();
    poll->deleteLater();
    OpenCommandLineFile(absolute);
  });
  poll->start();
}
