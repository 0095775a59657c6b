#include "platform/TextWrap.h"

#include <algorithm>

#include "platform/Canvas.h"

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

void TWidthEstimator::Reset(TCanvas& canvas) {
  for (int c = 0; c < 256; ++c) advance_[c] = c < 32 ? -1 : canvas.TextWidth(QString(QChar(c)));
  w_ = advance_['W'];
}

int TWidthEstimator::Estimate(QStringView text) const {
  int sum = 0;
  for (const QChar ch : text) {
    const int a = Advance(ch);
    if (a < 0) return -1;
    sum += a;
  }
  return sum;
}

bool TWidthEstimator::MayExceed(QStringView text, int width, int slack) const {
  const int estimate = Estimate(text);
  return estimate < 0 || estimate + slack > width;
}

QStringList BreakToWidth(const QString& line, int width, TCanvas& canvas,
                         const TWidthEstimator& estimator) {
  const qsizetype n = line.size();
  const int slack = std::max(estimator.W(), 1);
  QStringList pieces;
  qsizetype start = 0;
  while (start < n) {
    const QStringView rest = QStringView(line).mid(start);
    if (!estimator.MayExceed(rest, width, slack) || canvas.TextWidth(rest.toString()) <= width) {
      pieces << rest.toString();
      break;
    }
    // The longest start that fits by the estimate, then as measured.
    qsizetype k = 0;
    for (int sum = 0; start + k < n; ++k) {
      int a = estimator.Advance(line.at(start + k));
      if (a < 0) a = canvas.TextWidth(QString(line.at(start + k)));
      if (sum + a > width) break;
      sum += a;
    }
    k = std::max<qsizetype>(k, 1);
    while (k > 1) {
      const int measured = canvas.TextWidth(line.mid(start, k));
      if (measured <= width) break;
      k -= std::max<qsizetype>(1, (measured - width) / std::max(slack / 2, 1));
      k = std::max<qsizetype>(k, 1);
    }
    // Within it, after the last break character; a blank just past it
    // shows nothing and ends the piece too.
    qsizetype end = start + k;
    if (end < n && !IsBlank(line.at(end))) {
      for (qsizetype j = end - 1; j > start; --j) {
        if (IsBreakChar(line.at(j))) {
          end = j + 1;
          break;
        }
      }
    }
    pieces << line.mid(start, end - start);
    start = end;
    while (start < n && IsBlank(line.at(start))) ++start;
  }
  if (pieces.isEmpty()) pieces << QString();
  return pieces;
}
