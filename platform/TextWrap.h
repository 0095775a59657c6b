// Word wrap of one line of text, as the platform wraps text: to a number of
// characters (breaks after blanks, tabs and hyphens, never inside quoted text,
// a word longer than the limit stays whole), and to a width on a canvas, for
// what is still too wide after that (a word wider than the width is broken
// inside). With a quick estimate of text widths that spares measuring.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

class TCanvas;

// The line (without line breaks) cut into lines of at most maxChars
// characters where a break allows it. A break character stays at the end of
// its line; blanks and tabs that start a continuation line are dropped. Text
// between single or double quotes is not broken; a quote only opens at the
// start of a word (an apostrophe inside a word is none), and a quote left
// open ends with the line.
QStringList WrapTextLine(const QString& line, int maxChars);

// Widths of texts as the sum of their characters' widths in a canvas's font,
// which differs from the measured width by little (kerning, rounding): it
// spares measuring texts far from a decision.
class TWidthEstimator {
 public:
  // Takes the widths of the characters 32 to 255 in the canvas's current font.
  void Reset(TCanvas& canvas);
  // The width of one character; -1 when it is not in the table.
  int Advance(QChar c) const { return c.unicode() < 256 ? advance_[c.unicode()] : -1; }
  // -1 when a character is not in the table.
  int Estimate(QStringView text) const;
  // Whether the text, measured, could be wider than width.
  bool MayExceed(QStringView text, int width, int slack) const;
  int W() const { return w_; }

 private:
  int advance_[256] = {};
  int w_ = 0;
};

// The line (without line breaks) cut into pieces no wider than width on the
// canvas, in its current font: each piece ends after the last blank, tab or
// hyphen that fits, else after the last character that fits, so a word wider
// than width is broken inside; a piece holds at least one character. Blanks
// and tabs that start a continuation are dropped. The estimator, reset for
// the canvas's font, chooses where to measure.
QStringList BreakToWidth(const QString& line, int width, TCanvas& canvas,
                         const TWidthEstimator& estimator);
