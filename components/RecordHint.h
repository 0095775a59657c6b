// The record hint: all of a record's data as markup for the hint window.
#pragma once

#include <QString>

class TListRecord;

// s with every "<" followed by one blank, so the markup renderer draws user
// text literally.
QString EscapeMarkup(const QString& s);

// A note cut down for the hint: at most 8 lines (then a line "..."), each line
// at most 30 characters (then "..."), every line followed by CR LF.
QString ShortenNoteText(const QString& s);

// The hint of a record: its category, the two fields under the document's
// field names and, when the note holds more than blanks, the shortened note.
QString GetRecordHintText(const TListRecord& record);
