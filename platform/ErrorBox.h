// The application's top-level error handling: a command that fails ends and
// its message is shown in an error box titled with the application title.
#pragma once

#include <QString>
#include <exception>
#include <functional>

class QWidget;

// The silent abort: ends the calling command without a message.
class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

// The message as the error box shows it: "." appended when the last character
// sorts after "." (so "...name" stays, "...longer than 112" gets a full stop).
QString ErrorBoxText(const QString& message);

// Shows the exception's message (Windows-1252 bytes) in the error box through
// the prompts, titled with the application's name; EAbort shows nothing.
void ShowException(QWidget* owner, const std::exception& e);

// Runs a command; any exception ends it and is shown as above. Returns true
// when the command ran to its end.
bool RunGuarded(QWidget* owner, const std::function<void()>& command);
