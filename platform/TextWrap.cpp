#include "platform/TextWrap.h"

namespace {

bool IsBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool IsBreakChar(QChar c) { return IsBlank(c) || c == u'-'; }
bool IsQuote(QChar c) { return c == u'\'' || c == u'"'; }

}  // namespace

QStringList WrapTextLine(const QString& line, int maxChars) {
  const qsizetype limit = std::max(maxChars, 1);
  const qsizetype n = line.size();
  QStringList lines;
  qsizetype start = 0;
  QChar quote;  // the open quote, or null
  qsizetype i = 0;
  while (n - start > limit) {
    // The last break at or before the limit (a blank may stand just past
    // it, as it shows nothing), else the first one after it.
    qsizetype cut = -1;
    for (; i < n; ++i) {
      const QChar c = line.at(i);
      if (!quote.isNull()) {
        if (c == quote) quote = QChar();
        continue;
      }
      if (IsQuote(c) && (i == 0 || !line.at(i - 1).isLetterOrNumber())) {
        quote = c;
        continue;
      }
      if (!IsBreakChar(c) || i == start) continue;
      const qsizetype length = i - start + 1;
      if (length <= limit || (length == limit + 1 && IsBlank(c))) {
        cut = i;
      } else {
        if (cut < 0) cut = i;
        break;
      }
    }
    if (cut < 0) break;  // nothing to break at: the rest stays whole
    lines << line.mid(start, cut - start + 1);
    start = cut + 1;
    while (start < n && IsBlank(line.at(start))) ++start;
    // Scan again from the new line's start; the quote state there is that
    // after the cut, which lies outside any quote.
    i = start;
    quote = QChar();
  }
  if (start < n || lines.isEmpty()) lines << line.mid(start);
  return lines;
}
