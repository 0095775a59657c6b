// The list the benchmarks measure: 65,535 records as a user builds them, with
// names, phone numbers, short notes, some long ones of many lines, and the
// records spread over all 16 categories.
#pragma once

#include <iterator>
#include <memory>
#include <random>
#include <string>

#include "core/listdb.h"

namespace bench {

inline std::string LongNote(std::mt19937& random) {
  std::string note;
  const int lines = 5 + static_cast<int>(random() % 40);
  for (int i = 0; i < lines; ++i) {
    note += "Line " + std::to_string(i) + ": order ";
    note += std::to_string(random() % 100000) + " delivered, invoice paid in full\r\n";
  }
  return note.substr(0, kMaxNotes);
}

inline std::unique_ptr<TListDBData> MakeSampleList(int records = kMaxFileRecords) {
  static const char* const kFirst[] = {
      "Anna",   "Bo",    "Carla", "David", "Eva",    "Frank",    "Greta",  "Hans",
      "Ingrid", "Jonas", "Karin", "Lars",  "Maria",  "Nils",     "Olga",   "Per",
      "Rosa",   "Sven",  "Tove",  "Ulf",   "\xC5sa", "\xD6rjan", "Zo\xEB", "Fran\xE7ois"};
  static const char* const kLast[] = {"Andersson",
                                      "Berg",
                                      "Carlsson",
                                      "Dahl",
                                      "Ek",
                                      "Forsberg",
                                      "Gustafsson",
                                      "Holm",
                                      "Isaksson",
                                      "Johansson",
                                      "Karlsson",
                                      "Lindqvist",
                                      "M\xFCller",
                                      "Nordin",
                                      "Olsson",
                                      "Persson",
                                      "Sj\xF6"
                                      "berg",
                                      "Wallin",
                                      "O'Brien",
                                      "Garc\xED"
                                      "a"};
  static const char* const kNotes[] = {"",
                                       "",
                                       "",
                                       "call after 6",
                                       "mobile only",
                                       "birthday 12 May",
                                       "met at the fair\r\nsend catalogue",
                                       "new address from March",
                                       "prefers <b>e-mail</b>",
                                       "  ask about the offer  "};
  auto doc = std::make_unique<TListDBData>();
  doc->SetDatabaseName("Customers and suppliers");
  doc->SetCustomField1("Name");
  doc->SetCustomField2("Phone");
  for (int i = 1; i < kMaxAddedCategories; ++i) doc->Categories().Add("Group " + std::to_string(i));
  doc->Categories().AppendEntry("Archive", 15);  // a file may hold a 16th entry
  std::mt19937 random(1234);
  for (int i = 0; i < records; ++i) {
    TListRecord* r = doc->AddRecord();
    r->SetField1(std::string(kFirst[random() % std::size(kFirst)]) + " " +
                 kLast[random() % std::size(kLast)] + (random() % 4 == 0 ? "  " : ""));
    r->SetField2("+46 " + std::to_string(10 + random() % 90) + " " +
                 std::to_string(100000 + random() % 900000));
    r->SetNotes(i % 50 == 0 ? LongNote(random) : kNotes[random() % std::size(kNotes)]);
    r->SetCategoryID(static_cast<int32_t>(random() % kMaxCategorySlots));
  }
  return doc;
}

}  // namespace bench
