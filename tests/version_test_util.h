// Copies of a test's own executable with its version stamp removed, replaced
// or damaged, made with objcopy (debug information left out to keep them
// small).
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "platform/VersionStamp.h"

inline QString Objcopy() { return QStringLiteral(VORNIK_OBJCOPY); }

// Runs objcopy on the running executable, writing target; false (with a
// test failure) when objcopy fails.
inline bool CopySelf(const QStringList& options, const QString& target) {
  QProcess objcopy;
  objcopy.start(Objcopy(), QStringList(options)
                               << QStringLiteral("--strip-debug")
                               << QCoreApplication::applicationFilePath() << target);
  if (!objcopy.waitForFinished(60000) || objcopy.exitStatus() != QProcess::NormalExit ||
      objcopy.exitCode() != 0) {
    ADD_FAILURE() << "objcopy failed: " << objcopy.readAllStandardError().toStdString();
    return false;
  }
  return true;
}

inline QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    ADD_FAILURE() << "cannot write " << path.toStdString();
  return path;
}

inline QByteArray StampBytes(const TVersionStamp& stamp) {
  return QByteArray(reinterpret_cast<const char*>(stamp.data()), qsizetype(stamp.size()));
}

// The running executable with the stamp's contents replaced (same size).
inline bool CopySelfWithStamp(const QTemporaryDir& dir, const QByteArray& stamp,
                              const QString& target) {
  const QString contents = WriteFile(dir, QStringLiteral("stamp.bin"), stamp);
  return CopySelf({QStringLiteral("--update-section"),
                   QStringLiteral("%1=%2").arg(QLatin1String(kVersionSectionName), contents)},
                  target);
}

// The running executable without its stamp section.
inline bool CopySelfWithoutStamp(const QString& target) {
  return CopySelf({QStringLiteral("--remove-section"), QLatin1String(kVersionSectionName)}, target);
}
