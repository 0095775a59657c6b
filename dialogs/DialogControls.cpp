#include "dialogs/DialogControls.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

#include "platform/AnsiText.h"
#include "platform/Prompts.h"

// Typing is refused beyond the limit; a longer text set by the program may
// stay as long as it is, but no edit makes it longer. Text arriving through
// paste or drop is cut to the room left, as the platform's edit does.
class TLimitedEditValidator : public TAnsiValidator {
 public:
  TLimitedEditValidator(int limit, QObject* parent) : TAnsiValidator(parent), limit_(limit) {}

  State validate(QString& input, int& pos) const override {
    if (pasting_) {
      bool replaced = false;
      input = WithAnsiReplacements(input, &replaced);
      replaced_ = replaced_ || replaced;
    }
    const State state = TAnsiValidator::validate(input, pos);
    if (state == Invalid || bypass_) return state;
    const int bound = std::max(limit_, current_);
    if (input.size() <= bound) return state;
    // The characters just inserted end at the cursor: drop the excess there.
    const int excess = static_cast<int>(input.size()) - bound;
    if (pos < excess) return Invalid;
    input.remove(pos - excess, excess);
    pos -= excess;
    return state;
  }

  void SetCurrentLength(int length) { current_ = length; }
  void SetBypass(bool on) { bypass_ = on; }
  // While text is pasted or dropped, characters that cannot be held become
  // '?' instead of refusing the whole text.
  void SetPasting(bool on) {
    pasting_ = on;
    if (on) replaced_ = false;
  }
  bool Replaced() const { return replaced_; }

 private:
  int limit_;
  int current_ = 0;
  bool bypass_ = false;
  bool pasting_ = false;
  mutable bool replaced_ = false;
};

TLimitedEdit::TLimitedEdit(int limit, QWidget* parent)
    : QLineEdit(parent), limit_(limit), validator_(new TLimitedEditValidator(limit, this)) {
  setValidator(validator_);
  connect(this, &QLineEdit::textChanged, this,
          [this](const QString& text) { validator_->SetCurrentLength(text.size()); });
}

void TLimitedEdit::SetValue(const QString& text) {
  validator_->SetBypass(true);
  setText(text);
  validator_->SetBypass(false);
  validator_->SetCurrentLength(QLineEdit::text().size());
}

template <typename Insert>
void TLimitedEdit::Pasting(Insert&& insert) {
  validator_->SetPasting(true);
  insert();
  validator_->SetPasting(false);
  if (validator_->Replaced()) Prompts().Beep();
}

void TLimitedEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste))
    Pasting([&] { QLineEdit::keyPressEvent(event); });
  else
    QLineEdit::keyPressEvent(event);
}

void TLimitedEdit::contextMenuEvent(QContextMenuEvent* event) {
  Pasting([&] { QLineEdit::contextMenuEvent(event); });  // its Paste runs inside
}

void TLimitedEdit::mouseReleaseEvent(QMouseEvent* event) {
  Pasting([&] { QLineEdit::mouseReleaseEvent(event); });  // the selection's paste
}

void TLimitedEdit::dropEvent(QDropEvent* event) {
  Pasting([&] { QLineEdit::dropEvent(event); });
}

void TLimitedEdit::SetBytes(const std::string& bytes) { SetValue(AnsiToQString(bytes)); }

std::string TLimitedEdit::Bytes() const { return QStringToAnsi(text()); }

TListBox::TListBox(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSortingEnabled(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);
}

QListWidgetItem* TListBox::SelectedItem() const {
  const QList<QListWidgetItem*> items = selectedItems();
  return items.isEmpty() ? nullptr : items.first();
}

void TListBox::ClearSelectionAndCurrent() {
  clearSelection();
  selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
}

void TListBox::focusInEvent(QFocusEvent* event) {
  // The item view makes the first entry current on focus, and a screen reader
  // announces the current entry. A list box with no selection keeps none
  // current, so what is announced is what the commands act on (nothing yet),
  // and an arrow key starts at the first entry.
  if (!currentIndex().isValid() && selectedItems().isEmpty()) {
    QWidget::focusInEvent(event);
    viewport()->update();
    return;
  }
  QListWidget::focusInEvent(event);
}

void TListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

void BindButton(QPushButton* button, QAction* action) {
  auto sync = [button, action] {
    button->setText(action->text());
    button->setEnabled(action->isEnabled());
  };
  sync();
  QObject::connect(action, &QAction::changed, button, sync);
  QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
}
