// The search request the main window keeps between searches, and the test
// whether one record matches it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TListRecord;

// The places a search looks in; combined in TRecSearchOptions::Where.
enum TRecSearchPlace : std::uint8_t { InField1 = 1, InField2 = 2, InNotes = 4 };

struct TRecSearchOptions {
  std::string Text;                                    // the substring, trimmed
  std::uint8_t Where = InField1 | InField2 | InNotes;  // TRecSearchPlace bits
};

// A search text prepared once for searching many values. The ASCII letters
// a..z and A..Z are taken as equal; every other byte must match exactly. A
// search takes time linear in the value searched whatever the text (each
// position of the value is looked at a few times at most), and values that lack
// the text's last byte are passed over at the speed of a byte scan.
class TTextSearcher {
 public:
  explicit TTextSearcher(std::string_view text);
  // Whether the text occurs in value; an empty text occurs nowhere.
  bool FoundIn(std::string_view value) const;

 private:
  std::string folded_;  // the text with a..z upper-cased
  // For each length q of a partial match: the shorter partial match to go on
  // with when the next byte is not the text's byte q (its longest proper
  // prefix that is also its suffix and is not followed by that same byte).
  std::vector<std::uint32_t> mismatch_;
};

// A search request prepared once for testing many records.
class TRecordSearcher {
 public:
  explicit TRecordSearcher(const TRecSearchOptions& options);
  bool Matches(const TListRecord& record) const;

 private:
  TTextSearcher text_;
  std::uint8_t where_;
};

// Whether text occurs in value with the ASCII letters a..z and A..Z taken as
// equal; every other byte must match exactly. An empty text occurs nowhere.
bool ContainsTextAnsiCase(std::string_view value, std::string_view text);

// Whether the record's field 1, field 2 or note, as far as they are among the
// places of options.Where, contains options.Text. The category is never
// searched, and an empty text matches nothing.
bool RecordMatchesSearch(const TListRecord& record, const TRecSearchOptions& options);
