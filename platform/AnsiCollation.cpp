#include "platform/AnsiCollation.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "platform/AnsiText.h"

TAnsiCollation::TAnsiCollation(const QLocale& locale) : collator_(locale) {
  collator_.setCaseSensitivity(Qt::CaseSensitive);
  collator_.setNumericMode(false);
  collator_.setIgnorePunctuation(false);

  // Single characters in the locale's order at the first level: c comes before
  // d there when "cz" sorts before "da", and they are alike when neither
  // "cz" before "da" nor "dz" before "ca". A binary insertion sort stays within
  // bounds whatever the answers.
  std::array<QString, 256> withZ, withA;
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    const QString c = AnsiToQString(std::string_view(&byte, 1));
    withZ[b] = c + u'z';
    withA[b] = c + u'a';
  }
  auto before = [&](int c, int d) { return collator_.compare(withZ[c], withA[d]) < 0; };
  std::vector<int> order;
  order.reserve(256);
  for (int b = 0; b < 256; ++b) {
    size_t low = 0, high = order.size();
    while (low < high) {
      const size_t middle = (low + high) / 2;
      if (before(b, order[middle]))
        high = middle;
      else
        low = middle + 1;
    }
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(low), b);
  }
  // Places from 1 (0 stands for the end of a text); the rare list with more
  // than 255 places shares the last one, which only makes more ties.
  int place = 1;
  for (size_t i = 0; i < order.size(); ++i) {
    if (i > 0 && before(order[i - 1], order[i]) && place < 255) ++place;
    place_[static_cast<size_t>(order[i])] = static_cast<uint8_t>(place);
  }
}

std::vector<uint32_t> TAnsiCollation::Ranks(const std::vector<std::string_view>& texts) const {
  const size_t n = texts.size();
  std::vector<uint32_t> rank(n, 0);
  if (n == 0) return rank;

  // Each text's first places (texts alike that far are put in order by the
  // collator), the first eight also as one number.
  constexpr size_t kPlacesKept = 32;
  std::vector<size_t> start(n + 1);
  for (size_t i = 0; i < n; ++i) start[i + 1] = start[i] + std::min(texts[i].size(), kPlacesKept);
  std::vector<uint8_t> places(start[n]);
  struct TEntry {
    uint64_t prefix;
    uint32_t text;
  };
  std::vector<TEntry> entries(n);
  for (size_t i = 0; i < n; ++i) {
    uint8_t* out = places.data() + start[i];
    const size_t kept = start[i + 1] - start[i];
    for (size_t k = 0; k < kept; ++k) out[k] = place_[static_cast<unsigned char>(texts[i][k])];
    uint64_t prefix = 0;
    for (size_t k = 0; k < 8; ++k) prefix = (prefix << 8) | (k < kept ? out[k] : 0);
    entries[i] = {prefix, static_cast<uint32_t>(i)};
  }
  auto placesLess = [&](uint32_t x, uint32_t y) {
    const size_t lx = start[x + 1] - start[x], ly = start[y + 1] - start[y];
    const int c = std::memcmp(&places[start[x]], &places[start[y]], std::min(lx, ly));
    return c != 0 ? c < 0 : lx < ly;
  };
  std::sort(entries.begin(), entries.end(), [&](const TEntry& x, const TEntry& y) {
    if (x.prefix != y.prefix) return x.prefix < y.prefix;
    if (start[x.text + 1] - start[x.text] <= 8 && start[y.text + 1] - start[y.text] <= 8)
      return x.text < y.text;  // both whole in the prefix: the same places
    return placesLess(x.text, y.text);
  });
  std::vector<uint32_t> order(n);
  for (size_t i = 0; i < n; ++i) order[i] = entries[i].text;
  entries = {};

  // Every text converted once for the collator, back to back.
  std::vector<size_t> from(n + 1);
  for (size_t i = 0; i < n; ++i) from[i + 1] = from[i] + texts[i].size();
  std::vector<char16_t> converted(from[n]);
  for (size_t i = 0; i < n; ++i) AnsiToUtf16(texts[i], converted.data() + from[i]);
  auto text = [&](uint32_t x) {
    return QStringView(converted.data() + from[x], static_cast<qsizetype>(texts[x].size()));
  };
  auto compare = [&](uint32_t x, uint32_t y) { return collator_.compare(text(x), text(y)); };
  auto less = [&](uint32_t x, uint32_t y) { return compare(x, y) < 0; };
  // Texts with the same first places (differing in case or accents, or
  // equal) are put in order by the collator.
  for (size_t first = 0; first < n;) {
    size_t last = first + 1;
    while (last < n && !placesLess(order[first], order[last])) ++last;
    if (last - first > 1) std::stable_sort(order.begin() + first, order.begin() + last, less);
    first = last;
  }
  places = {};

  // The collator checks every neighbour pair. Where the places misled (a
  // character that expands to two, or one the locale ignores), the runs
  // already in order are merged by the collator until one run is left.
  std::vector<int> step(n - 1);
  for (;;) {
    std::vector<size_t> runStarts{0};
    for (size_t i = 0; i + 1 < n; ++i) {
      step[i] = compare(order[i], order[i + 1]);
      if (step[i] > 0) runStarts.push_back(i + 1);
    }
    if (runStarts.size() == 1) break;
    runStarts.push_back(n);
    while (runStarts.size() > 2) {
      std::vector<size_t> merged{0};
      for (size_t r = 0; r + 2 < runStarts.size(); r += 2) {
        std::inplace_merge(order.begin() + runStarts[r], order.begin() + runStarts[r + 1],
                           order.begin() + runStarts[r + 2], less);
        merged.push_back(runStarts[r + 2]);
      }
      if (runStarts.size() % 2 == 0) merged.push_back(runStarts.back());
      runStarts.swap(merged);
    }
  }

  uint32_t r = 0;
  rank[order[0]] = 0;
  for (size_t i = 0; i + 1 < n; ++i) {
    if (step[i] != 0) ++r;
    rank[order[i + 1]] = r;
  }
  return rank;
}
