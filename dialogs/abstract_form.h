// The common base of the program's windows and dialogs.
#pragma once

#include <QDialog>

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
  void showEvent(QShowEvent* event) override;
};
