// Line breaks in texts: splitting a text into its lines, and the one rule by
// which a list shows a note on a single row, which its sort follows too: a
// CR LF pair shows as one blank, a lone CR or LF stays as it is.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

// The lines of a text: breaks at CR LF, CR or LF; a break at the very end
// does not start an empty last line.
QStringList SplitLines(const QString& text);

// Every CR LF pair becomes one blank, in place (the text only shrinks).
void JoinCrLfLines(QString& text);
// The same for bytes: a text without a pair is returned as it is; one with
// pairs is joined at the end of storage and the view points there. Views
// into storage stay valid only while it does not grow beyond its capacity.
std::string_view JoinCrLfLines(std::string_view text, std::string& storage);

// The text with every line break (CR LF, a lone LF or a lone CR) as CR LF.
std::string UniformLineBreaks(std::string_view text);
