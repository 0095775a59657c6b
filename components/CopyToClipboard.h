// A record as Copy to clipboard writes it: an empty line, the category name
// underlined in navy, each field's name in bold over its value, and "Note:"
// in bold over the note's lines, indented with a hanging offset.
#pragma once

#include <QColor>
#include <QFont>

#include "platform/RichText.h"

class TListRecord;
class TListDBData;

// The default format is the list's font and colour; the field names and the
// values after them take the window text colour.
TRichText RecordClipboardText(const TListRecord& record, const TListDBData& document,
                              const QFont& font, const QColor& fontColor, const QColor& windowText);

// Puts the record on the clipboard as RTF, HTML and plain text.
void CopyRecordToClipboard(const TListRecord& record, const TListDBData& document,
                           const QFont& font, const QColor& fontColor, const QColor& windowText);
