// The order of Windows-1252 texts in a locale: the locale's collation, letters
// that differ only in case kept apart, digits compared as text, punctuation
// not ignored. Ranking a whole column at once is the record list's sort.
#pragma once

#include <QCollator>
#include <QLocale>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

class TAnsiCollation {
 public:
  explicit TAnsiCollation(const QLocale& locale = QLocale());

  QString LocaleName() const { return collator_.locale().name(); }
  // The rank of every text: texts[i] sorts before texts[j] exactly when
  // rank[i] < rank[j], and texts that collate equal share a rank. Ranks are
  // dense from 0.
  std::vector<uint32_t> Ranks(const std::vector<std::string_view>& texts) const;

 private:
  QCollator collator_;
  // Each byte's place in the locale's order of single characters, with the
  // characters that collate alike at the first level (case, accents) given one
  // place. Texts compared place by place come out nearly in the locale's order;
  // the collator itself settles ties and mends what the places got wrong
  // (characters that expand or are ignored).
  std::array<uint8_t, 256> place_{};
};
