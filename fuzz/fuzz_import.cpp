// libFuzzer target: import of arbitrary bytes. The first byte picks the
// format, the encoding and the over-long choice; the rest is the file. An
// accepted input must give a list within every limit that the list file
// writer stores and the reader reads back whole.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/ListImport.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "import broke: %s\n", what);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t pick = data[0];
  TImportOptions options;
  options.Format = static_cast<TImportFormat>(pick % 6);
  options.Encoding = static_cast<TTextEncoding>((pick / 6) % 5);
  options.CutOverlong = (pick & 0x80) == 0;
  options.FirstRowTitles = (pick & 0x40) == 0;
  options.QuotedValues = (pick & 0x20) != 0;
  options.FieldSeparator = ";;";
  options.RecordSeparator = "\\r\\n";
  const std::vector<uint8_t> bytes(data + 1, data + size);

  try {
    TMemoryStream in(bytes);
    const TImportPreview preview = PreviewImport(in, options, 8);
    Check(preview.Rows.size() <= 8, "preview rows");
    Check(preview.Format != TImportFormat::Guess, "preview format");
  } catch (const EListDBError&) {
  }

  TMemoryStream in(bytes);
  TImportReport report;
  std::unique_ptr<TListDBData> list;
  try {
    list = ImportList(in, options, report);
  } catch (const EListDBError&) {
    return 0;  // refused with a message
  }
  Check(report.Records == static_cast<size_t>(list->RecordCount()), "record count");
  Check(list->RecordCount() <= kMaxFileRecords, "record limit");
  Check(list->Categories().Count() <= kMaxCategorySlots, "category table");
  for (int i = 0; i < list->RecordCount(); ++i) {
    const TListRecord* r = list->GetRecord(i);
    Check(r->Field1().size() <= kMaxFieldValue && r->Field2().size() <= kMaxFieldValue &&
              r->Notes().size() <= kMaxNotes,
          "value limits");
  }
  Check(!report.Lines().empty(), "report");
  TMemoryStream file;
  WriteListDB(*list, file);  // an imported list is always one the file holds
  TListDBData back;
  TMemoryStream again(file.Bytes());
  ReadListDB(back, again);
  Check(back.RecordCount() == list->RecordCount(), "read back");
  return 0;
}
