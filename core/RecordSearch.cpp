#include "core/RecordSearch.h"

#include <algorithm>

#include "core/listdb.h"

namespace {

constexpr unsigned char AsciiUpper(unsigned char c) {
  return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

}  // namespace

bool ContainsTextAnsiCase(std::string_view value, std::string_view text) {
  if (text.empty() || text.size() > value.size()) return false;
  return std::search(value.begin(), value.end(), text.begin(), text.end(), [](char a, char b) {
           return AsciiUpper(static_cast<unsigned char>(a)) ==
                  AsciiUpper(static_cast<unsigned char>(b));
         }) != value.end();
}

bool RecordMatchesSearch(const TListRecord& record, const TRecSearchOptions& options) {
  if (options.Text.empty()) return false;
  return ((options.Where & InField1) && ContainsTextAnsiCase(record.Field1(), options.Text)) ||
         ((options.Where & InField2) && ContainsTextAnsiCase(record.Field2(), options.Text)) ||
         ((options.Where & InNotes) && ContainsTextAnsiCase(record.Notes(), options.Text));
}
