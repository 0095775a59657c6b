#include "platform/ErrorBox.h"

#include <QApplication>
#include <stdexcept>

#include "platform/AnsiText.h"
#include "platform/Prompts.h"

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > QChar(u'.')) return message + u'.';
  return message;
}

void ShowException(QWidget* owner, const std::exception& e) {
  if (dynamic_cast<const EAbort*>(&e)) return;
  const QString text = ErrorBoxText(AnsiToQString(e.what()));
  Prompts().MessageBox(owner, text, QApplication::applicationName(), TMsgIcon::Error, mbOK);
}

bool RunGuarded(QWidget* owner, const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const std::exception& e) {
    try {
      ShowException(owner, e);
    } catch (...) {
      // Showing the message failed as well (out of memory): nothing more to do.
    }
  } catch (...) {
    try {
      ShowException(owner, std::runtime_error("Unknown error"));
    } catch (...) {
    }
  }
  return false;
}
