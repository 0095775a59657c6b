// Input controls shared by the dialogs: a single-line edit for Windows-1252
// text whose limit holds back typing only, a list box that starts without a
// current entry, and push buttons bound to actions.
#pragma once

#include <QLineEdit>
#include <QListWidget>
#include <string>

class QAction;
class QPushButton;
class TLimitedEditValidator;

// A single-line edit that refuses typed characters Windows-1252 cannot hold
// (pasted or dropped ones become '?', with one beep) and admits at most
// Limit() characters (bytes) by typing, pasting or dropping.
// A longer text set with SetValue/SetBytes is shown whole and can only shrink
// by editing. (QLineEdit::setText itself cuts the text to the limit.)
class TLimitedEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TLimitedEdit(int limit, QWidget* parent = nullptr);

  int Limit() const { return limit_; }
  // Sets the text without cutting it to the limit.
  void SetValue(const QString& text);
  void SetBytes(const std::string& bytes);
  std::string Bytes() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Runs insert with pasted characters replaced where they cannot be held.
  template <typename Insert>
  void Pasting(Insert&& insert);

  int limit_;
  TLimitedEditValidator* validator_;
};

// A single-selection list box that has no current entry until the user picks
// one, so the first arrow key selects the first entry instead of the second.
class TListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TListBox(QWidget* parent = nullptr);

  // The selected entry, or nullptr.
  QListWidgetItem* SelectedItem() const;
  // Leaves no entry selected and none current.
  void ClearSelectionAndCurrent();

 signals:
  // A double-click anywhere in the list, on an entry or not.
  void DoubleClicked();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};

// A push button that shows its action's caption and enabling and triggers it.
void BindButton(QPushButton* button, QAction* action);
