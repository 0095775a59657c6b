#include "core/RecordSearch.h"

#include <cstring>

#include "core/listdb.h"

namespace {

constexpr unsigned char AsciiUpper(unsigned char c) {
  return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

constexpr size_t kNone = std::string_view::npos;

// The first position at or after from whose byte equals the upper-cased byte
// folded once upper-cased. A letter is matched in either case by setting the
// bit that tells the cases apart on both sides; any other byte exactly.
// Blocks of bytes are tested together first, which the compiler turns into
// vector instructions.
size_t FindFolded(std::string_view value, size_t from, unsigned char folded) {
  const auto* p = reinterpret_cast<const unsigned char*>(value.data());
  const size_t n = value.size();
  const unsigned char mask = folded >= 'A' && folded <= 'Z' ? 0x20 : 0x00;
  const unsigned char want = folded | mask;
  constexpr size_t kBlock = 64;
  size_t i = from;
  for (; i + kBlock <= n; i += kBlock) {
    unsigned char any = 0;
    for (size_t j = 0; j < kBlock; ++j)
      any |= static_cast<unsigned char>((p[i + j] | mask) == want);
    if (any) break;
  }
  for (; i < n; ++i)
    if ((p[i] | mask) == want) return i;
  return kNone;
}

// Whether the upper-cased byte folded occurs at or after from, a letter in
// either case. The C library's byte scan is the fastest there is, also with
// one scan for each case of a letter (lower case first, as text mostly is).
bool ContainsFolded(std::string_view value, size_t from, unsigned char folded) {
  if (from >= value.size()) return false;
  const char* p = value.data() + from;
  const size_t n = value.size() - from;
  const bool letter = folded >= 'A' && folded <= 'Z';
  if (letter && std::memchr(p, folded | 0x20, n)) return true;
  return std::memchr(p, folded, n) != nullptr;
}

}  // namespace

TTextSearcher::TTextSearcher(std::string_view text) : folded_(text), mismatch_(text.size()) {
  for (char& c : folded_) c = static_cast<char>(AsciiUpper(static_cast<unsigned char>(c)));
  const size_t m = folded_.size();
  // border[q]: the length of the longest proper prefix of the first q + 1
  // bytes that is also their suffix.
  std::vector<std::uint32_t> border(m, 0);
  std::uint32_t k = 0;
  for (size_t q = 1; q < m; ++q) {
    while (k > 0 && folded_[q] != folded_[k]) k = border[k - 1];
    if (folded_[q] == folded_[k]) ++k;
    border[q] = k;
  }
  // A border followed by the same byte as the partial match would fail on
  // the same byte: the next shorter one is taken at once.
  for (size_t q = 1; q < m; ++q) {
    const std::uint32_t b = border[q - 1];
    mismatch_[q] = folded_[b] != folded_[q] ? b : mismatch_[b];
  }
}

bool TTextSearcher::FoundIn(std::string_view value) const {
  const size_t m = folded_.size(), n = value.size();
  if (m == 0 || m > n) return false;
  // Every match ends on the text's last byte: a value without it is done with
  // at the speed of a byte scan.
  if (!ContainsFolded(value, m - 1, static_cast<unsigned char>(folded_[m - 1]))) return false;
  // Knuth-Morris-Pratt: q bytes of the text match before position i. With
  // nothing matched, the block test skips to the next possible start.
  size_t q = 0;
  for (size_t i = 0; i < n;) {
    if (q == 0) {
      i = FindFolded(value, i, static_cast<unsigned char>(folded_[0]));
      if (i == kNone || n - i < m) return false;
      q = 1;
      ++i;
    } else {
      if (n - i < m - q) return false;
      const char c = static_cast<char>(AsciiUpper(static_cast<unsigned char>(value[i])));
      while (q > 0 && folded_[q] != c) q = mismatch_[q];
      if (folded_[q] == c) ++q;
      ++i;
    }
    if (q == m) return true;
  }
  return false;
}

TRecordSearcher::TRecordSearcher(const TRecSearchOptions& options)
    : text_(options.Text), where_(options.Where) {}

bool TRecordSearcher::Matches(const TListRecord& record) const {
  return ((where_ & InField1) && text_.FoundIn(record.Field1())) ||
         ((where_ & InField2) && text_.FoundIn(record.Field2())) ||
         ((where_ & InNotes) && text_.FoundIn(record.Notes()));
}

bool ContainsTextAnsiCase(std::string_view value, std::string_view text) {
  return TTextSearcher(text).FoundIn(value);
}

bool RecordMatchesSearch(const TListRecord& record, const TRecSearchOptions& options) {
  return TRecordSearcher(options).Matches(record);
}
