// The common base of the program's windows and dialogs.
#pragma once

#include <QDialog>
#include <QStringList>

class TAbstractForm {
 public:
  // Runs once a window's controls exist: the window takes a copy of the
  // desktop's tooltip font and the button-text colour, which its controls
  // inherit. Disabled controls keep their greyed colour.
  static void Loaded(QWidget* form);
};

// A modal dialog of the program: fixed border (no resizing), no help button,
// centred on its owner when shown. A subclass builds its controls, then calls
// FinishLoading with its client size; FormShow runs each time it is shown.
class TAbstractDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TAbstractDialog(QWidget* owner);

  // Runs once each time the dialog is shown (tests may call it directly).
  virtual void FormShow() {}

 protected:
  // Applies TAbstractForm::Loaded and fixes the client area to the given size.
  void FinishLoading(int clientWidth, int clientHeight);
  void SetClientSize(int clientWidth, int clientHeight);
  // Heights of a single-line input and of a push button of the given layout
  // height, grown where the dialog's font needs more room.
  int InputHeight(int layoutHeight) const;
  int ButtonHeight(int layoutHeight) const;
  // The width of push buttons of the given layout width, grown so that the
  // widest of the captions fits.
  int ButtonWidth(int layoutWidth, const QStringList& captions) const;
  void showEvent(QShowEvent* event) override;
};
