// The search request the main window keeps between searches, and the test
// whether one record matches it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TListRecord;

// The places a search looks in; combined in TRecSearchOptions::Where.
enum TRecSearchPlace : std::uint8_t { InField1 = 1, InField2 = 2, InNotes = 4 };

struct TRecSearchOptions {
  std::string Text;                                    // the substring, trimmed
  std::uint8_t Where = InField1 | InField2 | InNotes;  // TRecSearchPlace bits
};

// Whether text occurs in value with the ASCII letters a..z and A..Z taken as
// equal; every other byte must match exactly. An empty text occurs nowhere.
bool ContainsTextAnsiCase(std::string_view value, std::string_view text);

// Whether the record's field 1, field 2 or note, as far as they are among the
// places of options.Where, contains options.Text. The category is never
// searched, and an empty text matches nothing.
bool RecordMatchesSearch(const TListRecord& record, const TRecSearchOptions& options);
