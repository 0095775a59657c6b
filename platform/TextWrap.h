// Word wrap of one line of text to a number of characters, as the platform
// wraps text: breaks after blanks, tabs and hyphens, never inside quoted text,
// and a word longer than the limit stays whole.
#pragma once

#include <QString>
#include <QStringList>

// The line (without line breaks) cut into lines of at most maxChars
// characters where a break allows it. A break character stays at the end of
// its line; blanks and tabs that start a continuation line are dropped. Text
// between single or double quotes is not broken; a quote only opens at the
// start of a word (an apostrophe inside a word is none), and a quote left
// open ends with the line.
QStringList WrapTextLine(const QString& line, int maxChars);
