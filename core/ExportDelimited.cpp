// Comma separated values (RFC 4180), tab separated values and separated text
// with the user's separators.
#include "core/ExportInternal.h"
#include "core/Windows1252.h"

namespace export_internal {

namespace {

// A value with the separator, a double quote, a CR or an LF is quoted, its
// quotes doubled; spreadsheets read tab separated values the same way.
class TQuoting {
 public:
  explicit TQuoting(char separator) : escapes_({{'"', "\"\""}}, Marked(separator)) {}
  // to has Room(value) bytes.
  char* Put(char* to, std::string_view value, const char* readable) const {
    bool marked;
    char* const end = escapes_.Put(to, value, marked, readable);
    if (!marked) return end;
    std::memmove(to + 1, to, static_cast<size_t>(end - to));
    *to = '"';
    end[1] = '"';
    return end + 2;
  }
  static size_t Room(std::string_view value) { return TUtf8Escapes::Room(value.size()) + 2; }

 private:
  static std::string Marked(char separator) { return std::string("\"\r\n") + separator; }
  TUtf8Escapes escapes_;
};

class TDelimitedWriter : public TFormatWriter {
 public:
  TDelimitedWriter(const TListDBData& data, const TExportOptions& options, TExportSink& sink)
      : options_(options),
        sink_(sink),
        separated_(options.Format == TExportFormat::SeparatedText),
        fieldSeparator_(separated_ ? UnescapeSeparator(options.FieldSeparator)
                                   : std::string(1, Delimiter(options))),
        recordSeparator_(separated_ ? UnescapeSeparator(options.RecordSeparator)
                                    : std::string("\r\n")),
        quoting_(Delimiter(options)),
        values_(data),
        row_(options.Fields.size()),
        readable_(row_.size(), nullptr) {
    sink.ByteOrderMark(options);
    if (options.ColumnTitles) {
      std::vector<std::string> titles;
      for (TExportField field : options.Fields) titles.push_back(ExportTitle(data, field));
      for (size_t i = 0; i < row_.size(); ++i) row_[i] = titles[i];
      WriteRow();
    }
  }

  void Records(const TRecords& records) override {
    for (const TListRecord* record : records) {
      for (size_t i = 0; i < row_.size(); ++i) {
        row_[i] = values_.Value(*record, options_.Fields[i]);
        readable_[i] = TExportValues::ReadableEnd(*record, options_.Fields[i], row_[i]);
      }
      WriteRow();
      sink_.RecordDone();
    }
  }

 private:
  static char Delimiter(const TExportOptions& options) {
    return options.Format == TExportFormat::TabSeparated ? '\t' : ',';
  }
  void WriteRow() {
    size_t room = recordSeparator_.Room();
    for (std::string_view value : row_) room += fieldSeparator_.Room() + TQuoting::Room(value);
    char* to = sink_.Room(room);
    for (size_t i = 0; i < row_.size(); ++i) {
      if (i > 0) to = fieldSeparator_.Put(to);
      to = separated_ ? asIs_.Put(to, row_[i], readable_[i])
                      : quoting_.Put(to, row_[i], readable_[i]);
    }
    sink_.Commit(recordSeparator_.Put(to));
  }

  const TExportOptions& options_;
  TExportSink& sink_;
  const bool separated_;
  const TPiece fieldSeparator_, recordSeparator_;
  const TQuoting quoting_;
  // Separated text writes the values as they are: the separators are the
  // user's to choose.
  const TUtf8Escapes asIs_{TUtf8Escapes::TEscapeList{}};
  TExportValues values_;
  std::vector<std::string_view> row_;
  std::vector<const char*> readable_;
};

}  // namespace

std::unique_ptr<TFormatWriter> MakeDelimitedWriter(const TListDBData& data,
                                                   const TExportOptions& options,
                                                   TExportSink& sink) {
  return std::make_unique<TDelimitedWriter>(data, options, sink);
}

}  // namespace export_internal
