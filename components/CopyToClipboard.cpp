#include "components/CopyToClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

#include "core/ListExport.h"

TRichText RecordClipboardText(const TListRecord& record, const TListDBData& document,
                              const QFont& font, const QColor& fontColor,
                              const QColor& windowText) {
  (void)document;  // the record knows its document
  TRichText text(font, fontColor);
  AddRecordParagraphs(text.Document(), record, ClipboardRecordFields(), ToRtfColor(windowText));
  return text;
}

void CopyRecordToClipboard(const TListRecord& record, const TListDBData& document,
                           const QFont& font, const QColor& fontColor, const QColor& windowText) {
  const TRichText text = RecordClipboardText(record, document, font, fontColor, windowText);
  QGuiApplication::clipboard()->setMimeData(RichTextMimeData(text));
}
