#include "components/AnsiMemo.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <limits>

#include "platform/AnsiText.h"
#include "platform/Prompts.h"

namespace {

bool IsBreak(QChar c) {
  return c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n' || c == u'\r';
}

// Byte length of a piece of editor text, every break counted as CR LF.
int BytesOf(const QString& text) {
  int n = 0;
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
    n += IsBreak(c) ? 2 : 1;
  }
  return n;
}

// Text with every kind of line break as '\n', which the editor turns into a
// paragraph of its own.
QString UniformBreaks(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (int i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
    out += IsBreak(c) ? QChar(u'\n') : c;
  }
  return out;
}

// The longest prefix of text (breaks uniform) that fits in room bytes.
QString CutToRoom(const QString& text, int room) {
  int used = 0;
  int i = 0;
  for (; i < text.size(); ++i) {
    const int size = text.at(i) == u'\n' ? 2 : 1;
    if (used + size > room) break;
    used += size;
  }
  return text.left(i);
}

}  // namespace

TAnsiMemo::TAnsiMemo(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTabChangesFocus(true);
}

int TAnsiMemo::TextLength() const {
  // Each block but the last ends in one break, counted as two bytes.
  const QTextDocument* doc = document();
  int n = doc->characterCount() - 1 + doc->blockCount() - 1;
  // Soft line breaks inside a block are one character in the document.
  for (QTextBlock b = doc->begin(); b.isValid(); b = b.next())
    n += static_cast<int>(b.text().count(QChar::LineSeparator));
  return n;
}

std::string TAnsiMemo::Text() const {
  // The raw text keeps no-break spaces as they are (toPlainText makes them
  // ordinary spaces).
  const QString raw = document()->toRawText();
  QString text;
  text.reserve(raw.size() + 16);
  for (const QChar c : raw) {
    if (IsBreak(c))
      text += QStringLiteral("\r\n");
    else
      text += c;
  }
  return QStringToAnsi(text);
}

void TAnsiMemo::SetText(const std::string& bytes) { setPlainText(AnsiToQString(bytes)); }

int TAnsiMemo::Room() const {
  if (maxLength_ <= 0) return std::numeric_limits<int>::max();
  const int selected = BytesOf(textCursor().selectedText());
  return maxLength_ - (TextLength() - selected);
}

bool TAnsiMemo::InsertText(const QString& text) {
  const QString uniform = UniformBreaks(text);
  if (isReadOnly() || !IsAnsiRepresentable(uniform)) return false;
  const int room = Room();
  // Beyond the limit already (a long text set by the program): no growth.
  if (room <= 0) return false;
  const QString piece = CutToRoom(uniform, room);
  if (piece.isEmpty()) return false;
  QTextCursor cursor = textCursor();
  cursor.insertText(piece);
  setTextCursor(cursor);
  ensureCursorVisible();
  return true;
}

void TAnsiMemo::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    // Every line break is a paragraph break (CR LF in the text), whatever the
    // modifiers; Control+Enter belongs to the dialog and never reaches here
    // when the dialog takes it.
    if (event->modifiers() & Qt::ControlModifier) {
      event->ignore();
      return;
    }
    InsertText(QStringLiteral("\n"));
    event->accept();
    return;
  }
  const QString typed = event->text();
  if (!typed.isEmpty() && typed.at(0).category() != QChar::Other_Control) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & Qt::AltModifier;
    if (ctrl == alt) {  // no modifier, or Ctrl+Alt standing for AltGr
      InsertText(typed);
      event->accept();
      return;
    }
    if (alt) {  // Alt+key belongs to the window's accelerators
      event->ignore();
      return;
    }
  }
  QPlainTextEdit::keyPressEvent(event);
}

void TAnsiMemo::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText()) return;
  // Pasted or dropped text keeps what Windows-1252 holds; every other
  // character becomes '?', with one beep.
  bool replaced = false;
  InsertText(WithAnsiReplacements(UniformBreaks(source->text()), &replaced));
  if (replaced) Prompts().Beep();
}

void TAnsiMemo::inputMethodEvent(QInputMethodEvent* event) {
  const QString commit = event->commitString();
  if (commit.isEmpty() ||
      (IsAnsiRepresentable(UniformBreaks(commit)) && BytesOf(commit) <= Room())) {
    QPlainTextEdit::inputMethodEvent(event);
    return;
  }
  // Refused or cut: drop the composition and insert what fits.
  QInputMethodEvent none;
  QPlainTextEdit::inputMethodEvent(&none);
  InsertText(commit);
  event->accept();
}
