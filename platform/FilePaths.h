// Paths between the widgets (QString) and the core's streams (bytes in the
// file system's encoding), and stream messages that name a path.
#pragma once

#include <QString>
#include <string>

#include "core/Streams.h"

std::string NativePath(const QString& path);
QString DisplayPath(const std::string& path);

// A stream message names the path in the file system's encoding; the error
// box reads messages as Windows-1252, so the path is put in in that form.
EStreamError WithDisplayPath(const EStreamError& e, const QString& path);
