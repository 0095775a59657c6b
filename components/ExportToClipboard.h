// The export's output as clipboard data: the text as plain text, comma and
// tab separated values also under their own types, RTF as rich text beside
// its plain text form.
#pragma once

#include <string>

#include "core/ListExport.h"

class QMimeData;

// output is what the export wrote with its byte order mark off (UTF-8, RTF
// in the code page); for RTF, plainText is the same records' plain text.
QMimeData* ExportMimeData(TExportFormat format, const std::string& output,
                          const std::string& plainText = {});
