// libFuzzer target: the list file reader on arbitrary bytes. A file it accepts
// reads the same a few records at a time, and is written again (when the
// writer accepts the document) and read back; the records, their values and
// categories and the names must survive.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/Streams.h"
#include "core/listdb.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "round trip broke: %s\n", what);
    std::abort();
  }
}

// The writer stores every CR LF of a value as LF; the reader leaves fields as
// they are.
std::string WithLF(std::string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    result += text[i];
  }
  return result;
}

// The reader finds a record's category by its slot's name, so where two entries
// share a name and ids are shared as well, a record may come back in the other
// entry of that name's id. Compacted ids are unique, and then the name is kept.
bool NamesOrIdsUnique(const TListDBCategories& categories) {
  bool namesUnique = true, idsUnique = true;
  for (int i = 0; i < categories.Count(); ++i) {
    for (int j = i + 1; j < categories.Count(); ++j) {
      namesUnique = namesUnique && categories.NameAt(i) != categories.NameAt(j);
      idsUnique = idsUnique && categories.IDAt(i) != categories.IDAt(j);
    }
  }
  return namesUnique || idsUnique;
}

void CheckRoundTrip(const TListDBData& document) {
  TMemoryStream out;
  try {
    WriteListDB(document, out);
  } catch (const EListDBError&) {
    return;  // a document the file cannot hold is refused before writing
  }
  TListDBData back;
  TMemoryStream in(out.Bytes());
  ReadListDB(back, in);  // what the writer wrote must read back without error
  Check(back.RecordCount() == document.RecordCount(), "record count");
  Check(back.DatabaseName() == document.DatabaseName(), "database name");
  Check(back.CustomField1() == document.CustomField1(), "field 1 name");
  Check(back.CustomField2() == document.CustomField2(), "field 2 name");
  Check(back.Categories().Count() <= document.Categories().Count(), "category count");
  const bool categoriesComparable = NamesOrIdsUnique(document.Categories());
  for (int i = 0; i < document.RecordCount(); ++i) {
    const TListRecord* a = document.GetRecord(i);
    const TListRecord* b = back.GetRecord(i);
    Check(b->Field1() == WithLF(a->Field1()), "field 1 value");
    Check(b->Field2() == WithLF(a->Field2()), "field 2 value");
    Check(b->Notes() == a->Notes(), "note");
    Check(!categoriesComparable || b->CategoryName() == a->CategoryName(), "category");
  }
}

// Read a few records at a time, the file gives the records the whole read
// gave, in order.
void CheckBatches(const TListDBData& whole, const std::vector<uint8_t>& bytes) {
  TListDBData part;
  TMemoryStream stream(bytes);
  TListFileReader reader(part, stream);
  Check(reader.RecordCount() == static_cast<size_t>(whole.RecordCount()), "batch count");
  int at = 0;
  for (size_t batch = 1; reader.ReadRecords(batch); batch = batch * 2 + 1) {
    for (int i = 0; i < part.RecordCount(); ++i, ++at) {
      Check(at < whole.RecordCount(), "batch records");
      const TListRecord* a = whole.GetRecord(at);
      const TListRecord* b = part.GetRecord(i);
      Check(a->Field1() == b->Field1() && a->Field2() == b->Field2() && a->Notes() == b->Notes() &&
                a->CategoryID() == b->CategoryID(),
            "batch record");
    }
    part.ClearRecords();
  }
  Check(at == whole.RecordCount(), "batch records");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TListDBData document;
  TMemoryStream stream(std::vector<uint8_t>(data, data + size));
  try {
    ReadListDB(document, stream);
  } catch (const std::runtime_error&) {
    return 0;  // refused: EListDBError or EStreamError
  }
  CheckBatches(document, std::vector<uint8_t>(data, data + size));
  CheckRoundTrip(document);  // ids as the file gave them
  CompactCategories(document);
  CheckRoundTrip(document);  // and as the main window keeps them
  return 0;
}
