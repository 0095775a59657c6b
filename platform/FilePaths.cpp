#include "platform/FilePaths.h"

#include <QFile>

#include "platform/AnsiText.h"

std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString DisplayPath(const std::string& path) { return QFile::decodeName(path.c_str()); }

EStreamError WithDisplayPath(const EStreamError& e, const QString& path) {
  std::string message = e.what();
  const std::string native = NativePath(path);
  const std::string shown = QStringToAnsi(path);
  if (native != shown) {
    for (size_t at = message.find(native); at != std::string::npos;
         at = message.find(native, at + shown.size()))
      message.replace(at, native.size(), shown);
  }
  return EStreamError(message);
}
