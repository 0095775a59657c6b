// A small rich text of paragraphs, each in one character format, written as
// RTF in the Windows-1252 code page and as plain text. Nothing in a
// paragraph's text can change the formatting or end the document: every
// character that means something to RTF is escaped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct TRtfColor {
  uint8_t Red = 0, Green = 0, Blue = 0;
  friend bool operator==(const TRtfColor&, const TRtfColor&) = default;
};

// Character styles; the same bits as the drawing surface's font styles.
enum TRtfStyle : int { rtfBold = 1, rtfItalic = 2, rtfUnderline = 4, rtfStrikeOut = 8 };

// The document's default character format.
struct TRtfFont {
  std::string Face = "Arial";  // UTF-8
  double PointSize = 10;
  int Style = 0;  // TRtfStyle bits
  TRtfColor Color;
};

struct TRtfParagraph {
  std::string Text;  // UTF-8, without line breaks
  int Style = 0;
  TRtfColor Color;
  int StartIndent = 0, Offset = 0;  // points
};

// Paragraphs collected in memory; formats set stay until they are changed.
class TRtfDocument {
 public:
  explicit TRtfDocument(TRtfFont font);

  // A style replaces the whole set (TRtfStyle bits).
  void SetStyle(int styles) { current_.Style = styles; }
  void SetColor(TRtfColor color) { current_.Color = color; }
  // The indent of a paragraph's first line and, relative to it, of its
  // following lines, in points.
  void SetIndent(int startIndent, int offset) {
    current_.StartIndent = startIndent;
    current_.Offset = offset;
  }
  // Back to the default format: the font's style and colour, no indent.
  void ResetFormat();
  // Appends the text (UTF-8, without line breaks) as a paragraph.
  void AddParagraph(std::string_view text);
  void Clear() { paragraphs_.clear(); }

  const TRtfFont& Font() const { return font_; }
  const std::vector<TRtfParagraph>& Paragraphs() const { return paragraphs_; }
  // Each paragraph's text followed by CR LF (UTF-8).
  std::string ToPlainText() const;
  // The whole document as RTF; its colour table holds the colours in the
  // order of their first use.
  std::string ToRtf() const;

 private:
  TRtfFont font_;
  TRtfParagraph current_;
  std::vector<TRtfParagraph> paragraphs_;
};

// Writes an RTF document piece by piece, for documents too large to collect:
// the header names the font and every colour the paragraphs may use.
class TRtfWriter {
 public:
  TRtfWriter(const TRtfFont& font, std::vector<TRtfColor> colors);
  void AppendHeader(std::string& out) const;
  // A colour missing from the table is written as the reader's default.
  void AppendParagraph(std::string& out, const TRtfParagraph& paragraph) const;
  static void AppendFooter(std::string& out) { out += "}\r\n"; }

 private:
  TRtfFont font_;
  std::vector<TRtfColor> colors_;
  std::string fontSize_;
};

// Text (UTF-8) escaped for RTF: \, { and } with a backslash, bytes from 0x80
// and control characters as \'hh (a tab as \tab), characters beyond
// Windows-1252 as \uN? (UTF-16 units, signed).
void AppendRtfEscaped(std::string& out, std::string_view text);
std::string RtfEscape(std::string_view text);
