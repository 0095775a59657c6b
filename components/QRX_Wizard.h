// The button bar of a wizard: Help, Back, Next and an end button along the
// bottom of a dialog. It turns the pages of a notebook (a QStackedWidget whose
// pages carry their captions as window titles) and reports every step.
#pragma once

#include <QPointer>
#include <QStackedWidget>
#include <QString>
#include <QWidget>
#include <functional>

#include "components/ControlSupport.h"

class QPushButton;

// A page change is about to happen; setting AllowChange to false refuses it.
using TBeforePageChangeEvent =
    std::function<void(QObject* Sender, int InitialPage, bool isForward, bool& AllowChange)>;
// A page change has happened; NewPage is the notebook's page index now.
using TAfterPageChangeEvent = std::function<void(QObject* Sender, int NewPage)>;

class TQRX_Wizard : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kBarHeight = 44;
  static constexpr int kButtonWidth = 75;
  static constexpr int kButtonHeight = 23;

  // Docks to the bottom of its parent, 44 pixels high; Back starts disabled.
  explicit TQRX_Wizard(QWidget* parent = nullptr);

  bool EnableHelp() const { return FEnableHelp; }
  void SetEnableHelp(bool enable);

  // The notebook whose pages the bar turns (not owned). Binding shows its
  // first page and sets Back and Next for it; nullptr clears the binding, as
  // does destroying the notebook.
  QStackedWidget* NoteBook() const { return FNoteBook.data(); }
  void SetNoteBook(QStackedWidget* noteBook);

  QString BackCaption() const { return FBackCaption; }
  void SetBackCaption(const QString& caption);
  QString NextCaption() const { return FNextCaption; }
  void SetNextCaption(const QString& caption);
  // The end button's text before the last page.
  QString AbortCaption() const { return FAbortCaption; }
  void SetAbortCaption(const QString& caption);
  // The end button's text on the last page. A new value shows at the next
  // step onto the last page, or at the next paint while no notebook is bound.
  QString ReadyCaption() const { return FReadyCaption; }
  void SetReadyCaption(const QString& caption);
  QString HelpCaption() const { return FHelpCaption; }
  void SetHelpCaption(const QString& caption);

  // The steps behind Back and Next; the program may also call them.
  void BackStep();
  void NextStep();

  QPushButton* BackButton() const { return FBackButton; }
  QPushButton* NextButton() const { return FNextButton; }
  QPushButton* EndButton() const { return FEndButton; }
  QPushButton* HelpButton() const { return FHelpButton; }

  // Events; each is called with the bar as Sender.
  TNotifyEvent OnBackClick;  // after a Back step, refused ones excepted
  TNotifyEvent OnNextClick;  // after a Next step, refused ones excepted
  TNotifyEvent OnEndClick;
  TNotifyEvent OnHelpClick;
  TAfterPageChangeEvent OnAfterPageChange;
  TBeforePageChangeEvent OnBeforePageChange;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QPushButton* AddButton(const QString& caption);
  void ArrangeButtons();
  // Without a notebook there is nothing to step through.
  void ApplyUnboundState();
  // The end button reads the ready caption on the last page, else the abort one.
  void ShowEndCaption(bool ready);
  bool AllowPageChange(int page, bool forward);
  void NoteBookDestroyed();

  QPushButton* FBackButton;
  QPushButton* FNextButton;
  QPushButton* FEndButton;
  QPushButton* FHelpButton;
  QPointer<QStackedWidget> FNoteBook;
  QMetaObject::Connection FNoteBookWatch;
  bool FEnableHelp = true;
  bool FEndShowsReady = false;
  QString FBackCaption = QStringLiteral("< &Back");
  QString FNextCaption = QStringLiteral("&Next >");
  QString FAbortCaption = QStringLiteral("&Cancel");
  QString FReadyCaption = QStringLiteral("&Finish");
  QString FHelpCaption = QStringLiteral("&Help");
};
