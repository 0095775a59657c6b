// Delimited text: comma separated values (quoted values may hold separators,
// doubled quotes and line breaks; CR LF, LF or CR end a record; the last one
// may lack its line end), tab separated values, and text with separators of
// the user's choice.
#include <cstring>

#include "core/ByteScan.h"
#include "core/FormatText.h"
#include "core/ImportRows.h"
#include "core/ListExport.h"

namespace import_internal {

namespace {

class TDelimitedReader : public TRowReader {
 public:
  TDelimitedReader(TDecodedInput& input, const TDelimiters& delimiters)
      : in_(input),
        d_(delimiters),
        stops_(d_.field[0], d_.record.empty() ? '\r' : d_.record[0],
               d_.record.empty() ? '\n' : d_.record[0]),
        oneByteField_(d_.field.size() == 1 && d_.record.empty()) {}

  bool Next(TRow& row) override;

 private:
  enum class TStop { Field, Record, None };
  // At a stop byte: consumes a separator found there.
  TStop Separator();
  // With a one-byte field separator, when the byte after this one is in the
  // buffer too: consumes a separator found here.
  TStop QuickStop() {
    const char* here = in_.Here();
    if (in_.Available() < 2) return TStop::None;
    if (*here == d_.field[0]) {
      in_.Skip(1);
      return TStop::Field;
    }
    if (*here != '\n' && *here != '\r') return TStop::None;
    in_.Skip(1 + (here[0] == '\r' && here[1] == '\n'));
    return TStop::Record;
  }
  void Quoted(TValue& value);
  // Up to the next stop byte.
  void Plain(TValue& value);
  bool Matches(const std::string& separator) {
    if (separator.size() == 1) return *in_.Here() == separator[0];
    return in_.Ensure(separator.size()) >= separator.size() &&
           std::memcmp(in_.Here(), separator.data(), separator.size()) == 0;
  }

  TDecodedInput& in_;
  TDelimiters d_;
  byte_scan::TAnyOf stops_;  // the first bytes of the separators
  // A one-byte field separator and any line end: a plain value that ends
  // inside the buffer is taken at once.
  bool oneByteField_;
  size_t rows_ = 0;
};

bool TDelimitedReader::Next(TRow& row) {
  row.Reset();
  in_.KeepRow(nullptr);
  if (in_.AtEnd()) return false;
  row.number = ++rows_;
  in_.KeepRow(&row);
  for (;;) {
    TValue& value = row.NewValue();
    if (d_.quotes && *in_.Here() == '"') {
      in_.Skip(1);
      value.quoted = true;
      Quoted(value);
      if (oneByteField_) {
        const TStop stop = QuickStop();
        if (stop == TStop::Field) continue;
        if (stop == TStop::Record) break;
      }
    } else if (oneByteField_) {
      const char* here = in_.Here();
      const char* end = here + in_.Available();
      const char* stop = stops_.Find(here, end);
      // The byte after the stop must be there too (CR LF, a last separator).
      if (end - stop >= 2) {
        const size_t run = static_cast<size_t>(stop - here);
        value.Refer(here, run);
        in_.Skip(run);
        if (QuickStop() == TStop::Field) continue;
        break;
      }
    }
    TStop stop = TStop::None;
    while (stop == TStop::None) {
      Plain(value);
      if (in_.AtEnd()) {
        stop = TStop::Record;
        break;
      }
      stop = Separator();
      if (stop != TStop::None) break;
      // A stop byte that starts no separator is text.
      value.Append(*in_.Here());
      in_.Skip(1);
    }
    if (stop == TStop::Record) break;
    if (in_.AtEnd()) {  // a separator at the very end: one more, empty value
      row.NewValue();
      break;
    }
  }
  row.replaced = in_.TakeReplacements();
  in_.KeepRow(nullptr);
  return true;
}

TDelimitedReader::TStop TDelimitedReader::Separator() {
  if (Matches(d_.field)) {
    in_.Skip(d_.field.size());
    return TStop::Field;
  }
  if (d_.record.empty()) {
    const char c = *in_.Here();
    if (c == '\n') {
      in_.Skip(1);
      return TStop::Record;
    }
    if (c == '\r') {
      in_.Skip(1);
      if (in_.Ensure(1) > 0 && *in_.Here() == '\n') in_.Skip(1);
      return TStop::Record;
    }
  } else if (Matches(d_.record)) {
    in_.Skip(d_.record.size());
    return TStop::Record;
  }
  return TStop::None;
}

void TDelimitedReader::Quoted(TValue& value) {
  for (;;) {
    if (in_.Ensure(1) == 0) return;  // unclosed at the end: the rest is the value
    const char* here = in_.Here();
    const size_t available = in_.Available();
    const void* quote = std::memchr(here, '"', available);
    const size_t run =
        quote ? static_cast<size_t>(static_cast<const char*>(quote) - here) : available;
    value.Refer(here, run);
    in_.Skip(run);
    if (!quote) continue;
    in_.Skip(1);
    if (in_.Ensure(1) > 0 && *in_.Here() == '"') {  // a doubled quote
      value.Append('"');
      in_.Skip(1);
      continue;
    }
    return;  // text up to the next separator is taken as it stands
  }
}

void TDelimitedReader::Plain(TValue& value) {
  while (in_.Ensure(1) > 0) {
    const char* here = in_.Here();
    const size_t available = in_.Available();
    const size_t run = static_cast<size_t>(stops_.Find(here, here + available) - here);
    value.Refer(here, run);
    in_.Skip(run);
    if (run < available) return;
  }
}

// Counts of a separator byte on each of the first lines, outside quotes.
std::vector<size_t> CountsPerLine(std::string_view text, char separator) {
  std::vector<size_t> counts(1, 0);
  bool quoted = false;
  for (size_t i = 0; i < text.size() && counts.size() <= 20; ++i) {
    const char c = text[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && (c == '\n' || c == '\r')) {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      counts.push_back(0);
    } else if (!quoted && c == separator) {
      ++counts.back();
    }
  }
  if (counts.size() > 1) counts.pop_back();  // the last line may be cut short
  return counts;
}

}  // namespace

std::unique_ptr<TRowReader> MakeDelimitedReader(TDecodedInput& input,
                                                const TDelimiters& delimiters) {
  return std::make_unique<TDelimitedReader>(input, delimiters);
}

TDelimiters DelimitersFor(TImportFormat format, const std::string& fieldTyped,
                          const std::string& recordTyped, bool quotedValues) {
  TDelimiters d;
  switch (format) {
    case TImportFormat::TabSeparated:
      d.field = "\t";
      break;
    case TImportFormat::SeparatedText: {
      size_t replacedField = 0, replacedRecord = 0;
      d.field = Utf8ToWindows1252(UnescapeSeparator(fieldTyped), &replacedField);
      std::string record = Utf8ToWindows1252(UnescapeSeparator(recordTyped), &replacedRecord);
      if (replacedField + replacedRecord > 0)
        throw EListDBError("A separator holds a character that Windows-1252 cannot hold");
      if (d.field.empty()) throw EListDBError("The field separator is empty");
      if (record.empty()) throw EListDBError("The record separator is empty");
      if (record == d.field)
        throw EListDBError("The field separator and the record separator are the same");
      // A line break as the record separator takes any of the three.
      d.record = record == "\n" || record == "\r\n" || record == "\r" ? "" : record;
      d.quotes = quotedValues;
      break;
    }
    default:
      d.field = ",";
      break;
  }
  return d;
}

TImportFormat GuessFormat(TDecodedInput& input, std::string& fieldSeparatorTyped,
                          bool& quotedValues) {
  input.Ensure(TDecodedInput::kPiece);
  const std::string_view text(input.Here(), input.Available());
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos && text[first] == '<') return TImportFormat::Xml;
  if (first != std::string_view::npos && (text[first] == '{' || text[first] == '['))
    return TImportFormat::Json;
  // The separator found the same number of times on every line wins; then
  // the one found most often.
  struct TCandidate {
    char c;
    TImportFormat format;
  };
  static constexpr TCandidate kCandidates[] = {{'\t', TImportFormat::TabSeparated},
                                               {',', TImportFormat::CommaSeparated},
                                               {';', TImportFormat::SeparatedText}};
  const TCandidate* best = &kCandidates[1];
  bool bestSteady = false;
  size_t bestTotal = 0;
  for (const TCandidate& candidate : kCandidates) {
    const std::vector<size_t> counts = CountsPerLine(text, candidate.c);
    size_t total = 0;
    bool steady = counts[0] > 0;
    for (size_t n : counts) {
      total += n;
      steady = steady && n == counts[0];
    }
    if (total > 0 && (steady > bestSteady || (steady == bestSteady && total > bestTotal))) {
      best = &candidate;
      bestSteady = steady;
      bestTotal = total;
    }
  }
  if (best->format == TImportFormat::SeparatedText) {
    fieldSeparatorTyped = std::string(1, best->c);
    quotedValues = true;
  }
  return best->format;
}

}  // namespace import_internal
