// Plain text and RTF: every record laid out as Copy to clipboard lays out
// one record.
#include "core/ExportInternal.h"
#include "core/Windows1252.h"

namespace {

constexpr int kNoteIndent = 20;  // points
constexpr TRtfColor kCategoryColor{0, 0, 128};

// Each line of the value a paragraph; an empty value is one empty paragraph.
void AddLines(TRtfDocument& text, std::string_view value) {
  if (value.empty()) {
    text.AddParagraph({});
    return;
  }
  std::string line;
  export_internal::ForEachLine(value, [&](std::string_view ansi) {
    line.clear();
    AppendWindows1252AsUtf8(line, ansi);
    text.AddParagraph(line);
  });
}

// The field's name in bold over its value.
void AddNamedValue(TRtfDocument& text, std::string_view name, std::string_view value,
                   TRtfColor windowText) {
  text.SetIndent(0, 0);
  text.SetColor(windowText);
  text.SetStyle(rtfBold);
  text.AddParagraph(Windows1252ToUtf8(name) + ':');
  text.SetStyle(0);
  AddLines(text, value);
}

}  // namespace

const std::vector<TExportField>& ClipboardRecordFields() {
  static const std::vector<TExportField> kFields = {
      TExportField::CategoryName, TExportField::Field1, TExportField::Field2, TExportField::Notes};
  return kFields;
}

void AddRecordParagraphs(TRtfDocument& text, const TListRecord& record,
                         const std::vector<TExportField>& fields, TRtfColor windowText) {
  const TListDBData& data = *record.Owner();
  text.ResetFormat();
  text.AddParagraph({});
  for (TExportField field : fields) {
    switch (field) {
      case TExportField::CategoryName:
        text.SetIndent(0, 0);
        text.SetStyle(rtfUnderline);
        text.SetColor(kCategoryColor);
        text.AddParagraph(Windows1252ToUtf8(record.CategoryName()));
        break;
      case TExportField::Field1:
        AddNamedValue(text, data.CustomField1(), record.Field1(), windowText);
        break;
      case TExportField::Field2:
        AddNamedValue(text, data.CustomField2(), record.Field2(), windowText);
        break;
      case TExportField::Notes:
        text.SetIndent(0, 0);
        text.SetColor(windowText);
        text.SetStyle(rtfBold);
        text.AddParagraph("Note:");
        text.SetIndent(kNoteIndent, kNoteIndent);
        text.SetStyle(0);
        AddLines(text, record.Notes());
        break;
    }
  }
}

namespace export_internal {

void WritePlainText(const TRecords& records, const TExportOptions& options, TExportSink& sink) {
  sink.ByteOrderMark(options);
  TRtfDocument text(options.RichTextFont);
  for (const TListRecord* record : records) {
    text.Clear();
    AddRecordParagraphs(text, *record, options.Fields, options.WindowTextColor);
    for (const TRtfParagraph& paragraph : text.Paragraphs()) {
      sink.Append(paragraph.Text);
      sink.Append("\r\n");
    }
    sink.RecordDone();
  }
}

void WriteRichText(const TRecords& records, const TExportOptions& options, TExportSink& sink) {
  const TRtfFont& font = options.RichTextFont;
  const TRtfWriter writer(font, {font.Color, kCategoryColor, options.WindowTextColor});
  std::string rtf;
  writer.AppendHeader(rtf);
  sink.Append(rtf);
  TRtfDocument text(font);
  for (const TListRecord* record : records) {
    text.Clear();
    AddRecordParagraphs(text, *record, options.Fields, options.WindowTextColor);
    rtf.clear();
    for (const TRtfParagraph& paragraph : text.Paragraphs()) writer.AppendParagraph(rtf, paragraph);
    sink.Append(rtf);
    sink.RecordDone();
  }
  rtf.clear();
  TRtfWriter::AppendFooter(rtf);
  sink.Append(rtf);
}

}  // namespace export_internal
