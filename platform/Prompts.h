// Every question, message and common dialog of the program goes through the
// prompts interface, so that tests can answer them and see what was asked.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

class QWidget;
class QDialog;
class QPrinter;

enum class TMsgIcon { None, Information, Warning, Error, Question };

// Buttons of a message box, combinable.
enum TMsgButton : int { mbOK = 1, mbCancel = 2, mbYes = 4, mbNo = 8 };

// Results of message boxes and modal dialogs.
enum class TModalResult { None, OK, Cancel, Yes, No };

struct TFileDialogOptions {
  QString title;
  QString filter;                 // Qt form: "Palm Databases (*.pdb);;All files (*.*)"
  QString defaultExtension;       // without the dot
  QString fileName;               // initial name; the chosen path on return
  bool mustExist = false;         // open: the file and its folder must exist
  bool confirmOverwrite = false;  // save: ask before replacing a file
  bool folderMustExist = false;   // save: the chosen file's folder must exist
};

class IPrompts {
 public:
  virtual ~IPrompts() = default;
  // A message box; text and caption are shown as plain text.
  virtual TModalResult MessageBox(QWidget* owner, const QString& text, const QString& caption,
                                  TMsgIcon icon, int buttons) = 0;
  // Returns false when cancelled; options.fileName holds the chosen path.
  virtual bool OpenFileDialog(QWidget* owner, TFileDialogOptions& options) = 0;
  virtual bool SaveFileDialog(QWidget* owner, TFileDialogOptions& options) = 0;
  virtual bool FontDialog(QWidget* owner, QFont& font, QColor& color) = 0;
  virtual bool ColorDialog(QWidget* owner, QColor& color) = 0;
  // The standard print dialog with its default options; the choices go into
  // the printer. False when cancelled.
  virtual bool PrintDialog(QWidget* owner, QPrinter& printer) = 0;
  // Shows one of the program's own dialogs modally and returns how it closed
  // (OK for QDialog::Accepted, Cancel otherwise).
  virtual TModalResult ExecDialog(QDialog* dialog) = 0;
  // The platform's default beep.
  virtual void Beep() = 0;
};

// The prompts in force: the real dialogs unless a test installed others.
IPrompts& Prompts();
// Installs prompts (not owned); nullptr restores the real dialogs.
void SetPrompts(IPrompts* prompts);

// The real message boxes and dialogs.
class TQtPrompts : public IPrompts {
 public:
  TModalResult MessageBox(QWidget* owner, const QString& text, const QString& caption,
                          TMsgIcon icon, int buttons) override;
  bool OpenFileDialog(QWidget* owner, TFileDialogOptions& options) override;
  bool SaveFileDialog(QWidget* owner, TFileDialogOptions& options) override;
  bool FontDialog(QWidget* owner, QFont& font, QColor& color) override;
  bool ColorDialog(QWidget* owner, QColor& color) override;
  bool PrintDialog(QWidget* owner, QPrinter& printer) override;
  TModalResult ExecDialog(QDialog* dialog) override;
  void Beep() override;
};

// The application's current printer: the print dialog sets it up, printing
// uses it. Created on first use, freed when the application ends.
QPrinter& ApplicationPrinter();
