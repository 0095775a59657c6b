// The fuzzer's seeds, made with the project's own writer; with
// VORNIK_FUZZ_SEEDS_DIR set they are written there (that is how fuzz/seeds was
// made). Every seed must read back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "core_test_util.h"

TEST(FuzzSeeds, EverySeedReadsBack) {
  std::map<std::string, TBytes> seeds;
  TListDBData doc;
  seeds["empty.pdb"] = WriteBytes(doc);
  doc.SetDatabaseName(std::string(32, 'L'));
  for (int i = 1; i < 15; ++i) doc.Categories().Add("C" + std::to_string(i));
  for (int i = 0; i < 20; ++i) {
    TListRecord* r = doc.AddRecord();
    r->SetField1(std::string(i % 3 ? 5 : 112, static_cast<char>('a' + i)));
    r->SetField2("+46 8 555 01" + std::to_string(i));
    r->SetNotes(i == 7 ? std::string(600, 'n') + "\r\n" + std::string(50, 'm') : "x");
    r->SetCategoryID(i % 16 - 1);
  }
  seeds["categories.pdb"] = WriteBytes(doc);
  TRawListFile raw;  // slots with a gap, flag bits, odd record shapes
  raw.slotNames[1] = "One";
  raw.slotIds[1] = 1;
  raw.slotNames[3] = "Three";
  raw.slotIds[3] = 9;
  raw.records.push_back({TRawListFile::Values(" a ", "b\r\nc", "d\ne\rf"), 0x43});
  raw.records.push_back({{3, 200, 1, 'x'}, 0x0F});
  raw.records.push_back({{}, 2});
  seeds["raw.pdb"] = raw.Build();

  const char* dir = std::getenv("VORNIK_FUZZ_SEEDS_DIR");
  for (const auto& [name, bytes] : seeds) {
    TListDBData back;
    EXPECT_NO_THROW(ReadBytes(back, bytes)) << name;
    if (dir) {
      std::ofstream(std::string(dir) + "/" + name, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
    }
  }
}
