#include "components/QRX_Wizard.h"

#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>

TQRX_Wizard::TQRX_Wizard(QWidget* parent) : QWidget(parent) {
  // Created in their order on screen, which is also the tab order.
  FHelpButton = AddButton(FHelpCaption);
  FBackButton = AddButton(FBackCaption);
  FNextButton = AddButton(FNextCaption);
  FEndButton = AddButton(FAbortCaption);
  FBackButton->setEnabled(false);
  connect(FBackButton, &QPushButton::clicked, this, [this] { BackStep(); });
  connect(FNextButton, &QPushButton::clicked, this, [this] { NextStep(); });
  connect(FEndButton, &QPushButton::clicked, this, [this] { FireNotify(OnEndClick, this); });
  connect(FHelpButton, &QPushButton::clicked, this, [this] { FireNotify(OnHelpClick, this); });

  resize(parent ? parent->width() : 340, kBarHeight);
  DockToParent(this, TDockEdge::Bottom);
  ArrangeButtons();
}

QPushButton* TQRX_Wizard::AddButton(const QString& caption) {
  auto* button = new QPushButton(caption, this);
  button->resize(kButtonWidth, kButtonHeight);
  return button;
}

void TQRX_Wizard::SetEnableHelp(bool enable) {
  FEnableHelp = enable;
  FHelpButton->setVisible(enable);
  update();
}

void TQRX_Wizard::SetNoteBook(QStackedWidget* noteBook) {
  disconnect(FNoteBookWatch);
  FNoteBook = noteBook;
  if (!noteBook) {
    update();
    return;
  }
  FNoteBookWatch = connect(noteBook, &QObject::destroyed, this, &TQRX_Wizard::NoteBookDestroyed);
  noteBook->setCurrentIndex(0);
  // The end button follows the page too: a bar painted without a notebook
  // reads the ready caption, which is wrong on the first of several pages.
  if (noteBook->count() == 1) {
    FBackButton->setEnabled(false);
    FNextButton->setEnabled(false);
    ShowEndCaption(true);
  } else if (noteBook->count() > 1) {
    FBackButton->setEnabled(false);
    FNextButton->setEnabled(true);
    ShowEndCaption(false);
  }
  FEndButton->setEnabled(true);
}

void TQRX_Wizard::NoteBookDestroyed() {
  disconnect(FNoteBookWatch);
  FNoteBook = nullptr;
  update();
}

void TQRX_Wizard::SetBackCaption(const QString& caption) {
  FBackCaption = caption;
  FBackButton->setText(caption);
  update();
}

void TQRX_Wizard::SetNextCaption(const QString& caption) {
  FNextCaption = caption;
  FNextButton->setText(caption);
  update();
}

void TQRX_Wizard::SetAbortCaption(const QString& caption) {
  FAbortCaption = caption;
  // On the last page the end button keeps reading the ready caption.
  if (!FEndShowsReady) FEndButton->setText(caption);
  update();
}

void TQRX_Wizard::SetReadyCaption(const QString& caption) {
  FReadyCaption = caption;
  update();
}

void TQRX_Wizard::SetHelpCaption(const QString& caption) {
  FHelpCaption = caption;
  FHelpButton->setText(caption);
  update();
}

bool TQRX_Wizard::AllowPageChange(int page, bool forward) {
  bool allow = true;
  if (OnBeforePageChange) OnBeforePageChange(this, page, forward, allow);
  return allow;
}

void TQRX_Wizard::ShowEndCaption(bool ready) {
  FEndShowsReady = ready;
  FEndButton->setText(ready ? FReadyCaption : FAbortCaption);
}

void TQRX_Wizard::BackStep() {
  if (FNoteBook) {
    const int page = FNoteBook->currentIndex();
    if (!AllowPageChange(page, false)) return;
    if (page == 1) FBackButton->setEnabled(false);
    // The handler may have destroyed the notebook.
    if (page > 0 && FNoteBook) {
      FNoteBook->setCurrentIndex(page - 1);
      FNextButton->setEnabled(true);
    }
    ShowEndCaption(false);
    if (OnAfterPageChange) OnAfterPageChange(this, FNoteBook ? FNoteBook->currentIndex() : -1);
  }
  FireNotify(OnBackClick, this);
}

void TQRX_Wizard::NextStep() {
  if (FNoteBook) {
    const int page = FNoteBook->currentIndex();
    if (!AllowPageChange(page, true)) return;
    const int count = FNoteBook ? FNoteBook->count() : 0;
    if (count == page + 2) {
      FNextButton->setEnabled(false);
      ShowEndCaption(true);
    }
    if (page < count - 1) {
      FNoteBook->setCurrentIndex(page + 1);
      FBackButton->setEnabled(true);
    }
    if (OnAfterPageChange) OnAfterPageChange(this, FNoteBook ? FNoteBook->currentIndex() : -1);
  }
  FireNotify(OnNextClick, this);
}

void TQRX_Wizard::ApplyUnboundState() {
  FBackButton->setEnabled(false);
  FNextButton->setEnabled(false);
  ShowEndCaption(true);
}

void TQRX_Wizard::ArrangeButtons() {
  const int top = height() - 31;
  FHelpButton->move(width() - 327, top);
  FBackButton->move(width() - 243, top);
  FNextButton->move(width() - 168, top);
  FEndButton->move(width() - 83, top);
  FHelpButton->setVisible(FEnableHelp);
}

void TQRX_Wizard::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ArrangeButtons();
}

void TQRX_Wizard::paintEvent(QPaintEvent* /*event*/) {
  // An etched line along the top, 9 pixels in from either side.
  QPainter painter(this);
  const int right = width() - 10;
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawLine(9, height() - 43, right, height() - 43);
  painter.setPen(palette().color(QPalette::Light));
  painter.drawLine(9, height() - 42, right, height() - 42);
  if (!FNoteBook) ApplyUnboundState();
}
