// The note memo: a multi-line edit for Windows-1252 text with a vertical
// scroll bar, lines wrapped at the right edge, Tab moving the focus on, and a
// maximum length in bytes as the model holds the text, where every line break
// is CR LF and counts two characters.
#pragma once

#include <QPlainTextEdit>
#include <string>

class TAnsiMemo : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit TAnsiMemo(QWidget* parent = nullptr);

  // The typing limit in bytes; 0 means none. Text set by SetText is not cut.
  void SetMaxLength(int bytes) { maxLength_ = bytes; }
  int MaxLength() const { return maxLength_; }

  // The text's length in bytes with CR LF line breaks.
  int TextLength() const;
  // The text as bytes with CR LF line breaks.
  std::string Text() const;
  // Sets the text; CR LF, a lone CR and a lone LF each break a line.
  void SetText(const std::string& bytes);

  // Inserts text at the cursor as typing would: refused whole when a
  // character cannot be held in Windows-1252, cut to the room left under the
  // limit. Returns whether anything was inserted. (Pasting and dropping put
  // '?' for such characters instead, with one beep.)
  bool InsertText(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
  void inputMethodEvent(QInputMethodEvent* event) override;

 private:
  // Bytes that may still be inserted in place of the selection.
  int Room() const;

  int maxLength_ = 0;
};
