#include "platform/RichText.h"

#include <QMimeData>
#include <cmath>

#include "platform/AnsiText.h"
#include "platform/Canvas.h"

TRichText::TRichText(const QFont& font, const QColor& color)
    : font_(font),
      style_((font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
             (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0)),
      color_(color) {}

void TRichText::AddParagraph(const QString& text) {
  paragraphs_.push_back({text, style_, color_, startIndent_, offset_});
}

QString TRichText::ToPlainText() const {
  QString out;
  for (const Paragraph& p : paragraphs_) out += p.text + QStringLiteral("\r\n");
  return out;
}

namespace {

// The font size in points (a pixel-sized font at 96 pixels an inch).
double PointSize(const QFont& font) {
  if (font.pointSizeF() > 0) return font.pointSizeF();
  if (font.pixelSize() > 0) return font.pixelSize() * 72.0 / 96.0;
  return 10;
}

void AppendHex(QByteArray& out, unsigned char byte) {
  static const char kHex[] = "0123456789abcdef";
  out += "\\'";
  out += kHex[byte >> 4];
  out += kHex[byte & 15];
}

}  // namespace

QByteArray RtfEscape(const QString& text) {
  QByteArray out;
  out.reserve(text.size() + 16);
  for (const QChar c : text) {
    if (!IsAnsiRepresentable(c)) {
      out += "\\u" + QByteArray::number(static_cast<short>(c.unicode())) + '?';
      continue;
    }
    const auto byte = static_cast<unsigned char>(QStringToAnsi(QString(c)).front());
    if (byte == '\\' || byte == '{' || byte == '}') {
      out += '\\';
      out += static_cast<char>(byte);
    } else if (byte == '\t') {
      out += "\\tab ";
    } else if (byte >= 0x80 || byte < 0x20) {
      AppendHex(out, byte);
    } else {
      out += static_cast<char>(byte);
    }
  }
  return out;
}

QByteArray TRichText::ToRtf() const {
  std::vector<QColor> colors;
  auto colorIndex = [&colors](const QColor& c) {
    for (size_t i = 0; i < colors.size(); ++i)
      if (colors[i].rgb() == c.rgb()) return static_cast<int>(i) + 1;
    colors.push_back(c);
    return static_cast<int>(colors.size());
  };
  QByteArray body;
  const QByteArray size = QByteArray::number(std::lround(PointSize(font_) * 2));
  for (const Paragraph& p : paragraphs_) {
    body += "\\pard";
    if (p.startIndent || p.offset) {
      // The first line at the start indent, the following lines further by
      // the offset.
      body += "\\li" + QByteArray::number((p.startIndent + p.offset) * 20);
      body += "\\fi" + QByteArray::number(-p.offset * 20);
    }
    body += "\\plain\\f0\\fs" + size + "\\cf" + QByteArray::number(colorIndex(p.color));
    if (p.style & fsBold) body += "\\b";
    if (p.style & fsItalic) body += "\\i";
    if (p.style & fsUnderline) body += "\\ul";
    if (p.style & fsStrikeOut) body += "\\strike";
    body += ' ';
    body += RtfEscape(p.text);
    body += "\\par\r\n";
  }
  // A ';' ends a font table entry: it is written as a hex byte in the name.
  QByteArray face = RtfEscape(font_.family());
  face.replace(";", "\\'3b");
  QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 " +
                   face + ";}}\r\n{\\colortbl ;";
  for (const QColor& c : colors) {
    out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) +
           "\\blue" + QByteArray::number(c.blue()) + ';';
  }
  out += "}\r\n" + body + "}\r\n";
  return out;
}

QString HtmlEscape(const QString& text) {
  QString out;
  out.reserve(text.size() + 16);
  for (const QChar c : text) {
    switch (c.unicode()) {
      case '&':
        out += QStringLiteral("&amp;");
        break;
      case '<':
        out += QStringLiteral("&lt;");
        break;
      case '>':
        out += QStringLiteral("&gt;");
        break;
      case '"':
        out += QStringLiteral("&quot;");
        break;
      case '\'':
        out += QStringLiteral("&#39;");
        break;
      default:
        // Control characters cannot stand in HTML; a tab can.
        if (c.unicode() < 0x20 && c != u'\t')
          out += QStringLiteral("&#xFFFD;");
        else
          out += c;
    }
  }
  return out;
}

QString TRichText::ToHtml() const {
  // The face goes into a quoted style value: only its plain characters.
  QString face;
  for (const QChar c : font_.family())
    if (c.isLetterOrNumber() || c == u' ' || c == u'-' || c == u'_') face += c;
  QString out = QStringLiteral(
                    "<html><head><meta charset=\"utf-8\"></head>"
                    "<body style=\"font-family:'%1';font-size:%2pt\">\n")
                    .arg(face)
                    .arg(PointSize(font_));
  for (const Paragraph& p : paragraphs_) {
    QString style = QStringLiteral("margin:0;color:%1").arg(p.color.name());
    if (p.startIndent || p.offset) {
      style += QStringLiteral(";margin-left:%1pt;text-indent:%2pt")
                   .arg(p.startIndent + p.offset)
                   .arg(-p.offset);
    }
    if (p.style & fsBold) style += QStringLiteral(";font-weight:bold");
    if (p.style & fsItalic) style += QStringLiteral(";font-style:italic");
    if (p.style & (fsUnderline | fsStrikeOut)) {
      style += QStringLiteral(";text-decoration:");
      if (p.style & fsUnderline) style += QStringLiteral(" underline");
      if (p.style & fsStrikeOut) style += QStringLiteral(" line-through");
    }
    const QString text = p.text.isEmpty() ? QStringLiteral("<br>") : HtmlEscape(p.text);
    out += QStringLiteral("<p style=\"%1\">%2</p>\n").arg(style, text);
  }
  out += QStringLiteral("</body></html>\n");
  return out;
}

QString RtfMimeType() {
#ifdef Q_OS_WIN
  return QStringLiteral("application/x-qt-windows-mime;value=\"Rich Text Format\"");
#else
  return QStringLiteral("text/rtf");
#endif
}

QMimeData* RichTextMimeData(const TRichText& text) {
  auto* data = new QMimeData;
  data->setData(RtfMimeType(), text.ToRtf());
  data->setHtml(text.ToHtml());
  data->setText(text.ToPlainText());
  return data;
}
