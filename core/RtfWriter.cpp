#include "core/RtfWriter.h"

#include <cmath>

#include "core/Windows1252.h"

TRtfDocument::TRtfDocument(TRtfFont font) : font_(std::move(font)) { ResetFormat(); }

void TRtfDocument::ResetFormat() {
  current_.Style = font_.Style;
  current_.Color = font_.Color;
  current_.StartIndent = current_.Offset = 0;
}

void TRtfDocument::AddParagraph(std::string_view text) {
  // The current format has no text of its own: the copy takes the text alone.
  paragraphs_.push_back(current_);
  paragraphs_.back().Text.assign(text);
}

std::string TRtfDocument::ToPlainText() const {
  std::string out;
  for (const TRtfParagraph& p : paragraphs_) {
    out += p.Text;
    out += "\r\n";
  }
  return out;
}

std::string TRtfDocument::ToRtf() const {
  std::vector<TRtfColor> colors;
  for (const TRtfParagraph& p : paragraphs_) {
    bool known = false;
    for (const TRtfColor& c : colors) known = known || c == p.Color;
    if (!known) colors.push_back(p.Color);
  }
  const TRtfWriter writer(font_, std::move(colors));
  std::string out;
  writer.AppendHeader(out);
  for (const TRtfParagraph& p : paragraphs_) writer.AppendParagraph(out, p);
  TRtfWriter::AppendFooter(out);
  return out;
}

TRtfWriter::TRtfWriter(const TRtfFont& font, std::vector<TRtfColor> colors)
    : font_(font),
      colors_(std::move(colors)),
      fontSize_(std::to_string(std::lround(font.PointSize * 2))) {}

void TRtfWriter::AppendHeader(std::string& out) const {
  // A ';' ends a font table entry: it is written as a hex byte in the name.
  std::string face;
  AppendRtfEscaped(face, font_.Face);
  out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 ";
  for (char c : face) {
    if (c == ';')
      out += "\\'3b";
    else
      out += c;
  }
  out += ";}}\r\n{\\colortbl ;";
  for (const TRtfColor& c : colors_) {
    out += "\\red" + std::to_string(c.Red) + "\\green" + std::to_string(c.Green) + "\\blue" +
           std::to_string(c.Blue) + ';';
  }
  out += "}\r\n";
}

void TRtfWriter::AppendParagraph(std::string& out, const TRtfParagraph& p) const {
  out += "\\pard";
  if (p.StartIndent || p.Offset) {
    // The first line at the start indent, the following lines further by the
    // offset (in twips).
    out += "\\li" + std::to_string((p.StartIndent + p.Offset) * 20);
    out += "\\fi" + std::to_string(-p.Offset * 20);
  }
  size_t color = 0;
  for (size_t i = 0; i < colors_.size() && color == 0; ++i) {
    if (colors_[i] == p.Color) color = i + 1;
  }
  out += "\\plain\\f0\\fs";
  out += fontSize_;
  out += "\\cf";
  out += std::to_string(color);
  if (p.Style & rtfBold) out += "\\b";
  if (p.Style & rtfItalic) out += "\\i";
  if (p.Style & rtfUnderline) out += "\\ul";
  if (p.Style & rtfStrikeOut) out += "\\strike";
  out += ' ';
  AppendRtfEscaped(out, p.Text);
  out += "\\par\r\n";
}

namespace {

void AppendHex(std::string& out, unsigned byte) {
  static const char kHex[] = "0123456789abcdef";
  out += "\\'";
  out += kHex[byte >> 4];
  out += kHex[byte & 15];
}

void AppendUnicode(std::string& out, unsigned unit) {
  out += "\\u" + std::to_string(static_cast<int16_t>(unit)) + '?';
}

}  // namespace

void AppendRtfEscaped(std::string& out, std::string_view text) {
  size_t at = 0;
  while (at < text.size()) {
    // A run of printable ASCII without RTF's own characters goes as it is.
    size_t run = at;
    while (run < text.size()) {
      const auto c = static_cast<unsigned char>(text[run]);
      if (c < 0x20 || c >= 0x80 || c == '\\' || c == '{' || c == '}') break;
      ++run;
    }
    if (run > at) {
      out.append(text.substr(at, run - at));
      at = run;
      continue;
    }
    const char32_t u = NextUtf8CodePoint(text, at);
    const int byte = Windows1252Byte(u);
    if (byte < 0) {
      if (u > 0xFFFF) {  // a surrogate pair
        AppendUnicode(out, 0xD800 + ((u - 0x10000) >> 10));
        AppendUnicode(out, 0xDC00 + ((u - 0x10000) & 0x3FF));
      } else {
        AppendUnicode(out, u);
      }
    } else if (byte == '\\' || byte == '{' || byte == '}') {
      out += '\\';
      out += static_cast<char>(byte);
    } else if (byte == '\t') {
      out += "\\tab ";
    } else if (byte >= 0x80 || byte < 0x20) {
      AppendHex(out, static_cast<unsigned>(byte));
    } else {
      out += static_cast<char>(byte);
    }
  }
}

std::string RtfEscape(std::string_view text) {
  std::string out;
  AppendRtfEscaped(out, text);
  return out;
}
