#include "components/CopyToClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "components/QRXHtmlControls.h"
#include "core/listdb.h"
#include "platform/AnsiText.h"
#include "platform/Canvas.h"

namespace {
constexpr int kNoteIndent = 20;  // points
const QColor kCategoryColor(0, 0, 128);
}  // namespace

TRichText RecordClipboardText(const TListRecord& record, const TListDBData& document,
                              const QFont& font, const QColor& fontColor,
                              const QColor& windowText) {
  TRichText text(font, fontColor);
  text.AddParagraph(QString());
  text.SetStyle(fsUnderline);
  text.SetColor(kCategoryColor);
  text.AddParagraph(AnsiToQString(record.CategoryName()));
  text.SetColor(windowText);
  text.SetStyle(fsBold);
  text.AddParagraph(AnsiToQString(document.CustomField1()) + u':');
  text.SetStyle(0);
  text.AddParagraph(AnsiToQString(record.Field1()));
  text.SetStyle(fsBold);
  text.AddParagraph(AnsiToQString(document.CustomField2()) + u':');
  text.SetStyle(0);
  text.AddParagraph(AnsiToQString(record.Field2()));
  text.SetStyle(fsBold);
  text.AddParagraph(QStringLiteral("Note:"));
  text.SetIndent(kNoteIndent, kNoteIndent);
  text.SetStyle(0);
  // An empty note is one empty paragraph.
  QStringList lines = HtmlSplitLines(AnsiToQString(record.Notes()));
  if (lines.isEmpty()) lines << QString();
  for (const QString& line : lines) text.AddParagraph(line);
  return text;
}

void CopyRecordToClipboard(const TListRecord& record, const TListDBData& document,
                           const QFont& font, const QColor& fontColor, const QColor& windowText) {
  const TRichText text = RecordClipboardText(record, document, font, fontColor, windowText);
  QGuiApplication::clipboard()->setMimeData(RichTextMimeData(text));
}
