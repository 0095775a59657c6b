// The file version of an executable: on Windows its version resource, on ELF
// platforms the version stamp section the build writes (VersionStamp.h).
#pragma once

#include <QString>

#include "platform/VersionStamp.h"

// Reads the file version of the executable at path. False when the file
// cannot be read, is not an executable of a kind this platform knows, or
// carries no intact version; the file's contents are checked against every
// bound before they are used.
bool ReadExecutableVersion(const QString& path, TFileVersion& version);
