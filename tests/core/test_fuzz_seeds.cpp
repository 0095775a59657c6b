// The fuzzer's seed files, generated with the project's own writer. Every seed
// must read back; with VORNIK_FUZZ_SEEDS_DIR set the seeds are also written
// there (that is how fuzz/seeds was made).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "CoreTestUtil.h"

namespace {

std::map<std::string, std::vector<uint8_t>> MakeSeeds() {
  std::map<std::string, std::vector<uint8_t>> seeds;
  {
    TListDBData doc;
    seeds["empty.pdb"] = WriteBytes(doc);
  }
  {
    TListDBData doc;
    doc.SetDatabaseName("Phones");
    doc.SetCustomField1("Name");
    doc.SetCustomField2("Phone");
    doc.Categories().Add("Family");
    doc.Categories().Add("Work");
    const char* names[][3] = {{"Ann Berg", "+46 8 555 0101", ""},
                              {"Bo \xC5kesson", "555-0199", "call after 6\r\nmobile"},
                              {"Cecilia", "", "birthday 12 May"}};
    for (int i = 0; i < 3; ++i) {
      TListRecord* r = doc.AddRecord();
      r->SetField1(names[i][0]);
      r->SetField2(names[i][1]);
      r->SetNotes(names[i][2]);
      r->SetCategoryID(i);
    }
    seeds["phones.pdb"] = WriteBytes(doc);
  }
  {
    TListDBData doc;
    doc.SetDatabaseName(std::string(32, 'L'));
    for (int i = 1; i < 15; ++i) doc.Categories().Add("C" + std::to_string(i));
    for (int i = 0; i < 20; ++i) {
      TListRecord* r = doc.AddRecord();
      r->SetField1(std::string(i % 3 == 0 ? 112 : 5, static_cast<char>('a' + i)));
      r->SetNotes(i == 7 ? std::string(600, 'n') + "\r\n" + std::string(50, 'm') : "x");
      r->SetCategoryID(i % 16 == 15 ? -1 : i % 15);
    }
    seeds["categories.pdb"] = WriteBytes(doc);
  }
  {
    TRawListFile raw;  // slots with a gap, flag bits, odd record shapes
    raw.slotNames[1] = "One";
    raw.slotIds[1] = 1;
    raw.slotNames[3] = "Three";
    raw.slotIds[3] = 9;
    raw.slotNames[15] = "Last";
    raw.slotIds[15] = 255;
    raw.records.push_back({TRawListFile::Values(" a ", "b\r\nc", "d\ne\rf"), 0x43});
    raw.records.push_back({{3, 200, 1, 'x'}, 0x0F});
    raw.records.push_back({{}, 2});
    seeds["raw.pdb"] = raw.Build();
  }
  return seeds;
}

TEST(FuzzSeeds, EverySeedReadsBack) {
  const char* dir = std::getenv("VORNIK_FUZZ_SEEDS_DIR");
  for (const auto& [name, bytes] : MakeSeeds()) {
    TListDBData doc;
    EXPECT_NO_THROW(ReadBytes(doc, bytes)) << name;
    if (dir) {
      std::ofstream out(std::string(dir) + "/" + name, std::ios::binary);
      out.write(reinterpret_cast<const char*>(bytes.data()),
                static_cast<std::streamsize>(bytes.size()));
      ASSERT_TRUE(out.good()) << name;
    }
  }
}

}  // namespace
