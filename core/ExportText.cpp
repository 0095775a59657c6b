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

namespace {

class TPlainTextWriter : public TFormatWriter {
 public:
  TPlainTextWriter(const TExportOptions& options, TExportSink& sink)
      : options_(options), sink_(sink), text_(options.RichTextFont) {
    sink.ByteOrderMark(options);
  }
  void Records(const TRecords& records) override {
    for (const TListRecord* record : records) {
      text_.Clear();
      AddRecordParagraphs(text_, *record, options_.Fields, options_.WindowTextColor);
      for (const TRtfParagraph& paragraph : text_.Paragraphs()) {
        sink_.Append(paragraph.Text);
        sink_.Append("\r\n");
      }
      sink_.RecordDone();
    }
  }

 private:
  const TExportOptions& options_;
  TExportSink& sink_;
  TRtfDocument text_;
};

class TRichTextWriter : public TFormatWriter {
 public:
  TRichTextWriter(const TExportOptions& options, TExportSink& sink)
      : options_(options),
        sink_(sink),
        writer_(options.RichTextFont,
                {options.RichTextFont.Color, kCategoryColor, options.WindowTextColor}),
        text_(options.RichTextFont) {
    writer_.AppendHeader(rtf_);
    sink.Append(rtf_);
  }
  void Records(const TRecords& records) override {
    for (const TListRecord* record : records) {
      text_.Clear();
      AddRecordParagraphs(text_, *record, options_.Fields, options_.WindowTextColor);
      rtf_.clear();
      for (const TRtfParagraph& paragraph : text_.Paragraphs())
        writer_.AppendParagraph(rtf_, paragraph);
      sink_.Append(rtf_);
      sink_.RecordDone();
    }
  }
  void End() override {
    rtf_.clear();
    TRtfWriter::AppendFooter(rtf_);
    sink_.Append(rtf_);
  }

 private:
  const TExportOptions& options_;
  TExportSink& sink_;
  const TRtfWriter writer_;
  TRtfDocument text_;
  std::string rtf_;
};

}  // namespace

std::unique_ptr<TFormatWriter> MakePlainTextWriter(const TExportOptions& options,
                                                   TExportSink& sink) {
  return std::make_unique<TPlainTextWriter>(options, sink);
}

std::unique_ptr<TFormatWriter> MakeRichTextWriter(const TExportOptions& options,
                                                  TExportSink& sink) {
  return std::make_unique<TRichTextWriter>(options, sink);
}

}  // namespace export_internal
