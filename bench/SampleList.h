// The list the benchmarks measure: 65,535 records as a user builds them, with
// names, phone numbers, short notes, some long ones of many lines, and the
// records spread over all 16 categories.
#pragma once

#include <algorithm>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <unordered_set>

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

// A list as a long-kept one looks: every name distinct, values of every length
// up to the limits (names with firm and department, e-mail and postal
// addresses), notes from none to a few kilobytes of many lines. About 6.6 MiB
// as a file.
inline std::unique_ptr<TListDBData> MakeRealisticList(int records = kMaxFileRecords) {
  static const char* const kSyllables[] = {
      "an", "be", "ca",    "do",    "el",    "fa",    "gi", "ho", "is", "ju", "ka", "lo",
      "ma", "ne", "or",    "pe",    "qu",    "ri",    "sa", "to", "ul", "ve", "wi", "xa",
      "yo", "ze", "\xE5s", "\xF6r", "\xE9l", "\xFCn", "br", "st", "th", "ch", "ck", "ss"};
  static const char* const kWords[] = {"Sales",     "Support",     "Accounts",  "Purchasing",
                                       "Logistics", "Head office", "Warehouse", "R&D",
                                       "Marketing", "IT"};
  std::mt19937 random(4321);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  auto word = [&](int syllables, bool capital) {
    std::string w;
    for (int i = 0; i < syllables; ++i) w += kSyllables[pick(std::size(kSyllables))];
    if (capital && w[0] >= 'a' && w[0] <= 'z') w[0] = static_cast<char>(w[0] - 'a' + 'A');
    return w;
  };
  auto upTo = [](std::string text, size_t limit) {
    text.resize(std::min(text.size(), limit));
    return text;
  };

  auto doc = std::make_unique<TListDBData>();
  doc->SetDatabaseName("Contacts since 1998");
  doc->SetCustomField1("Name");
  doc->SetCustomField2("Reach at");
  for (int i = 1; i < kMaxAddedCategories; ++i) doc->Categories().Add(word(3, true));
  doc->Categories().AppendEntry("Archive", 15);
  std::unordered_set<std::string> names;
  names.reserve(static_cast<size_t>(records));
  for (int i = 0; i < records; ++i) {
    std::string name;
    do {
      name = word(1 + pick(3), true) + " " + word(2 + pick(3), true);
      if (pick(3) == 0) name += ", " + word(2 + pick(4), true) + " AB";
      if (pick(6) == 0) name += ", " + std::string(kWords[pick(std::size(kWords))]);
      if (pick(12) == 0) name += ", " + word(3, true) + "gatan " + std::to_string(1 + pick(200));
      if (pick(40) == 0) name += std::string(static_cast<size_t>(pick(120)), 'x');
      name = upTo(name, kMaxFieldValue);
    } while (!names.insert(name).second);

    std::string reach;
    switch (pick(4)) {
      case 0:
        reach =
            "+46 " + std::to_string(10 + pick(90)) + " " + std::to_string(100000 + pick(900000));
        break;
      case 1:
        reach = word(2, false) + "." + word(3, false) + "@" + word(2, false) + ".example.com";
        break;
      case 2:
        reach = word(3, true) + "v\xE4gen " + std::to_string(1 + pick(99)) + ", " +
                std::to_string(10000 + pick(89999)) + " " + word(2 + pick(3), true);
        if (pick(5) == 0) reach += ", c/o " + word(2, true) + " " + word(3, true) + ", Sweden";
        break;
      default:
        reach = std::to_string(pick(1000));
    }
    reach = upTo(reach, kMaxFieldValue);

    std::string notes;
    const int kind = pick(100);
    if (kind < 45) {
      // none
    } else if (kind < 85) {
      notes = word(2, true) + " " + word(3, false) + " " + word(2, false);
    } else if (kind < 98) {
      for (int line = 0, lines = 2 + pick(4); line < lines; ++line)
        notes += (line ? "\r\n" : "") + word(3, true) + " " + word(4, false) + " " +
                 std::to_string(pick(100000)) + " " + word(2, false);
    } else {
      for (int line = 0, lines = 12 + pick(60); line < lines; ++line)
        notes += (line ? "\r\n" : "") + std::string("Line ") + std::to_string(line) + ": " +
                 word(4, true) + " " + word(5, false) + " " + word(3, false);
    }
    notes = upTo(notes, kMaxNotes);

    TListRecord* r = doc->AddRecord();
    r->SetField1(name);
    r->SetField2(reach);
    r->SetNotes(notes);
    r->SetCategoryID(static_cast<int32_t>(pick(kMaxCategorySlots)));
  }
  return doc;
}

}  // namespace bench
