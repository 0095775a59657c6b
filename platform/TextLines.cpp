#include "platform/TextLines.h"

#include "core/LineBreaks.h"

QStringList SplitLines(const QString& text) {
  QStringList lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  qsizetype i = 0;
  while (i < n) {
    const QChar c = text.at(i);
    if (c == u'\r' || c == u'\n') {
      lines << text.mid(start, i - start);
      i += (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < n) lines << text.mid(start);
  return lines;
}

void JoinCrLfLines(QString& text) {
  const qsizetype size = text.size();
  if (size < 2 || !text.contains(u'\r')) return;
  QChar* data = text.data();
  qsizetype out = 0;
  for (qsizetype in = 0; in < size; ++in) {
    if (data[in] == u'\r' && in + 1 < size && data[in + 1] == u'\n') {
      data[out++] = u' ';
      ++in;
    } else {
      data[out++] = data[in];
    }
  }
  text.truncate(out);
}

std::string_view JoinCrLfLines(std::string_view text, std::string& storage) {
  size_t pair = text.find("\r\n");
  if (pair == std::string_view::npos) return text;
  const size_t first = storage.size();
  size_t from = 0;
  while (pair != std::string_view::npos) {
    storage.append(text.substr(from, pair - from));
    storage += ' ';
    from = pair + 2;
    pair = text.find("\r\n", from);
  }
  storage.append(text.substr(from));
  return std::string_view(storage).substr(first);
}

std::string UniformLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendWithCrLf(out, text);
  return out;
}
