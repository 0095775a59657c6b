// A small rich text of paragraphs, each in one character format, written as
// RTF, as HTML and as plain text, and put on the clipboard in all three forms.
// Nothing in a paragraph's text can change the formatting or end the document:
// the writers escape every character that means something to them.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>

#include "core/RtfWriter.h"

class QMimeData;

class TRichText {
 public:
  // The default character format: the font's face, size and style, the colour.
  TRichText(const QFont& font, const QColor& color);

  // The format for the paragraphs appended from now on; each setting stays
  // until it is changed. A style replaces the whole set (TFontStyle bits).
  void SetStyle(int styles) { document_.SetStyle(styles); }
  void SetColor(const QColor& color);
  // The indent of a paragraph's first line and, relative to it, of its
  // following lines, in points.
  void SetIndent(int startIndent, int offset) { document_.SetIndent(startIndent, offset); }
  // Appends the text as a paragraph (it should hold no line breaks).
  void AddParagraph(const QString& text);
  // The paragraphs themselves, for layouts the core shares.
  TRtfDocument& Document() { return document_; }

  // Each paragraph's text followed by CR LF.
  QString ToPlainText() const;
  // RTF in the Windows-1252 code page.
  QByteArray ToRtf() const;
  QString ToHtml() const;

 private:
  QFont font_;
  TRtfDocument document_;
};

TRtfColor ToRtfColor(const QColor& color);
// The font's face, size in points and style, with the colour.
TRtfFont ToRtfFont(const QFont& font, const QColor& color);

// The clipboard's name of RTF: "Rich Text Format" on Windows, text/rtf elsewhere.
QString RtfMimeType();
// The text as RTF, HTML and plain text, for QClipboard::setMimeData.
QMimeData* RichTextMimeData(const TRichText& text);
// Text escaped for RTF: \, { and } with a backslash, bytes from 0x80 and
// control characters as \'hh (a tab as \tab), characters beyond Windows-1252
// as \uN?.
QByteArray RtfEscape(const QString& text);
QString HtmlEscape(const QString& text);
