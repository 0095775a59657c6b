#include "platform/Prompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

IPrompts* g_prompts = nullptr;

TQtPrompts& RealPrompts() {
  static TQtPrompts real;
  return real;
}

QMessageBox::Icon ToQtIcon(TMsgIcon icon) {
  switch (icon) {
    case TMsgIcon::Information:
      return QMessageBox::Information;
    case TMsgIcon::Warning:
      return QMessageBox::Warning;
    case TMsgIcon::Error:
      return QMessageBox::Critical;
    case TMsgIcon::Question:
      return QMessageBox::Question;
    case TMsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

bool RunFileDialog(QWidget* owner, TFileDialogOptions& options, bool save) {
  QFileDialog dlg(owner, options.title, QString(), options.filter);
  dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (save) {
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !options.confirmOverwrite);
  } else {
    dlg.setFileMode(options.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  }
  if (!options.defaultExtension.isEmpty()) dlg.setDefaultSuffix(options.defaultExtension);
  if (!options.fileName.isEmpty()) dlg.selectFile(options.fileName);
  if (dlg.exec() != QDialog::Accepted) return false;
  const QStringList files = dlg.selectedFiles();
  if (files.isEmpty()) return false;
  options.fileName = files.first();
  return true;
}

}  // namespace

IPrompts& Prompts() { return g_prompts ? *g_prompts : RealPrompts(); }

void SetPrompts(IPrompts* prompts) { g_prompts = prompts; }

TModalResult TQtPrompts::MessageBox(QWidget* owner, const QString& text, const QString& caption,
                                    TMsgIcon icon, int buttons) {
  QMessageBox box(owner);
  box.setTextFormat(Qt::PlainText);
  box.setWindowTitle(caption);
  box.setText(text);
  box.setIcon(ToQtIcon(icon));
  if ((buttons & (mbOK | mbCancel | mbYes | mbNo)) == 0) buttons = mbOK;

  // Buttons in the platform's order; the first one asked for is the default.
  struct Btn {
    int bit;
    QMessageBox::StandardButton qt;
    TModalResult result;
  };
  const Btn all[] = {{mbYes, QMessageBox::Yes, TModalResult::Yes},
                     {mbNo, QMessageBox::No, TModalResult::No},
                     {mbOK, QMessageBox::Ok, TModalResult::OK},
                     {mbCancel, QMessageBox::Cancel, TModalResult::Cancel}};
  QAbstractButton* cancelButton = nullptr;
  QAbstractButton* noButton = nullptr;
  bool haveDefault = false;
  for (const Btn& b : all) {
    if (!(buttons & b.bit)) continue;
    QPushButton* pb = box.addButton(b.qt);
    if (!haveDefault) {
      box.setDefaultButton(pb);
      haveDefault = true;
    }
    if (b.bit == mbCancel) cancelButton = pb;
    if (b.bit == mbNo) noButton = pb;
  }
  // Esc and the close box: Cancel, or No when there is no Cancel.
  if (cancelButton)
    box.setEscapeButton(cancelButton);
  else if (noButton)
    box.setEscapeButton(noButton);

  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (!clicked) return cancelButton || !noButton ? TModalResult::Cancel : TModalResult::No;
  for (const Btn& b : all) {
    if (box.button(b.qt) == clicked) return b.result;
  }
  return TModalResult::Cancel;
}

bool TQtPrompts::OpenFileDialog(QWidget* owner, TFileDialogOptions& options) {
  return RunFileDialog(owner, options, false);
}

bool TQtPrompts::SaveFileDialog(QWidget* owner, TFileDialogOptions& options) {
  return RunFileDialog(owner, options, true);
}

bool TQtPrompts::FontDialog(QWidget* owner, QFont& font, QColor& /*color*/) {
  // Qt's font dialog has no colour choice; the colour is left as it is.
  QFontDialog dlg(font, owner);
  if (dlg.exec() != QDialog::Accepted) return false;
  font = dlg.selectedFont();
  return true;
}

bool TQtPrompts::ColorDialog(QWidget* owner, QColor& color) {
  QColorDialog dlg(color, owner);
  if (dlg.exec() != QDialog::Accepted) return false;
  color = dlg.selectedColor();
  return true;
}

TModalResult TQtPrompts::ExecDialog(QDialog* dialog) {
  if (!dialog) return TModalResult::Cancel;
  return dialog->exec() == QDialog::Accepted ? TModalResult::OK : TModalResult::Cancel;
}

void TQtPrompts::Beep() { QApplication::beep(); }
