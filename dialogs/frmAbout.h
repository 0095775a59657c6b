// The About dialog: the program's banner, its version and a short text about
// the program.
#pragma once

#include <QString>

#include "dialogs/abstract_form.h"

class QFrame;
class QLabel;
class QPushButton;
class TQRX_htmlLabel;

class TAboutDialog : public TAbstractDialog {
  Q_OBJECT
 public:
  explicit TAboutDialog(QWidget* owner);

  // Shows the version text in the label's "Version: %s" and keeps the
  // label's right edge in place.
  void SetVersionText(const QString& version);
  // Replaces the markup text and makes room for it.
  void SetAboutText(const QString& markup);

  QWidget* AboutImage;
  QFrame* Bevel1;
  QLabel* VersionLabel;
  TQRX_htmlLabel* CopyrightLabel;
  QPushButton* OKBtn;

 protected:
  // There is no cancel button: Esc does not close the dialog.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ArrangeControls();
};

// The About text: seven lines of markup separated by CR LF.
QString AboutText();

// Shows the About dialog modally with the program's version and About text.
void ShowAboutDialog(QWidget* owner);
