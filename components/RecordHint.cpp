#include "components/RecordHint.h"

#include <QStringList>

#include "core/listdb.h"
#include "platform/AnsiText.h"
#include "platform/TextLines.h"

namespace {

constexpr int kMaxHintLines = 8;
constexpr int kMaxHintLineLength = 30;
const QString kCrLf = QStringLiteral("\r\n");

QString Heading(const QString& name) { return "<u><b>" + name + "</b></u>:" + kCrLf; }

}  // namespace

QString EscapeMarkup(const QString& s) {
  QString result = s;
  result.replace(u'<', QStringLiteral("< "));
  return result;
}

QString ShortenNoteText(const QString& s) {
  QStringList lines = SplitLines(s);
  if (lines.size() > kMaxHintLines) {
    lines.erase(lines.begin() + kMaxHintLines, lines.end());
    lines.append(QStringLiteral("..."));
  }
  QString result;
  for (const QString& line : lines) {
    if (line.size() > kMaxHintLineLength)
      result += line.left(kMaxHintLineLength) + "...";
    else
      result += line;
    result += kCrLf;
  }
  return result;
}

QString GetRecordHintText(const TListRecord& record) {
  const TListDBData* document = record.Owner();
  const QString field1Name = document ? AnsiToQString(document->CustomField1()) : QString();
  const QString field2Name = document ? AnsiToQString(document->CustomField2()) : QString();

  // Built by concatenation, not by a format routine, so that nothing in the
  // values is taken for a placeholder.
  QString text = Heading("Category") + "  <c:blue>" +
                 EscapeMarkup(AnsiToQString(record.CategoryName())) + "<c:black>" + kCrLf;
  text += Heading(EscapeMarkup(field1Name)) + "  " + EscapeMarkup(AnsiToQString(record.Field1())) +
          kCrLf;
  text += Heading(EscapeMarkup(field2Name)) + "  " + EscapeMarkup(AnsiToQString(record.Field2()));

  const QString notes = AnsiToQString(record.Notes());
  if (!TrimView(notes).isEmpty())
    text += kCrLf + Heading("Notes") + ShortenNoteText(EscapeMarkup(notes));
  return text;
}
