#include "platform/RichText.h"

#include <QMimeData>
#include <cmath>

#include "platform/AnsiText.h"
#include "platform/Canvas.h"

namespace {

// The font size in points (a pixel-sized font at 96 pixels an inch).
double PointSize(const QFont& font) {
  if (font.pointSizeF() > 0) return font.pointSizeF();
  if (font.pixelSize() > 0) return font.pixelSize() * 72.0 / 96.0;
  return 10;
}

}  // namespace

TRtfFont ToRtfFont(const QFont& font, const QColor& color) {
  TRtfFont rtf;
  rtf.Face = font.family().toStdString();
  rtf.PointSize = PointSize(font);
  rtf.Style = (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
              (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0);
  rtf.Color = ToRtfColor(color);
  return rtf;
}

TRtfColor ToRtfColor(const QColor& color) {
  return {static_cast<uint8_t>(color.red()), static_cast<uint8_t>(color.green()),
          static_cast<uint8_t>(color.blue())};
}

TRichText::TRichText(const QFont& font, const QColor& color)
    : font_(font), document_(ToRtfFont(font, color)) {}

void TRichText::SetColor(const QColor& color) { document_.SetColor(ToRtfColor(color)); }

void TRichText::AddParagraph(const QString& text) { document_.AddParagraph(text.toStdString()); }

QString TRichText::ToPlainText() const { return QString::fromStdString(document_.ToPlainText()); }

QByteArray RtfEscape(const QString& text) {
  return QByteArray::fromStdString(RtfEscape(std::string_view(text.toStdString())));
}

QByteArray TRichText::ToRtf() const { return QByteArray::fromStdString(document_.ToRtf()); }

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
  for (const TRtfParagraph& p : document_.Paragraphs()) {
    const QColor color(p.Color.Red, p.Color.Green, p.Color.Blue);
    QString style = QStringLiteral("margin:0;color:%1").arg(color.name());
    if (p.StartIndent || p.Offset) {
      style += QStringLiteral(";margin-left:%1pt;text-indent:%2pt")
                   .arg(p.StartIndent + p.Offset)
                   .arg(-p.Offset);
    }
    if (p.Style & fsBold) style += QStringLiteral(";font-weight:bold");
    if (p.Style & fsItalic) style += QStringLiteral(";font-style:italic");
    if (p.Style & (fsUnderline | fsStrikeOut)) {
      style += QStringLiteral(";text-decoration:");
      if (p.Style & fsUnderline) style += QStringLiteral(" underline");
      if (p.Style & fsStrikeOut) style += QStringLiteral(" line-through");
    }
    const QString text =
        p.Text.empty() ? QStringLiteral("<br>") : HtmlEscape(QString::fromStdString(p.Text));
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
