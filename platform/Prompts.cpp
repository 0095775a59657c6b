#include "platform/Prompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <algorithm>

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

// The file dialog takes a name in a folder that does not exist; with
// folderMustExist it says so and stays open instead.
class TFileDialog : public QFileDialog {
 public:
  TFileDialog(QWidget* owner, const TFileDialogOptions& options)
      : QFileDialog(owner, options.title, QString(), options.filter),
        folderMustExist_(options.folderMustExist) {}

  void accept() override {
    const QStringList files = selectedFiles();
    if (folderMustExist_ && !files.isEmpty()) {
      const QFileInfo info(files.first());
      if (!info.isDir() && !QFileInfo(info.absolutePath()).isDir()) {
        QMessageBox box(QMessageBox::Warning, windowTitle(),
                        QString("%1\nPath does not exist.\nCheck the path and try again.")
                            .arg(QDir::toNativeSeparators(info.absolutePath())),
                        QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
        return;
      }
    }
    QFileDialog::accept();
  }

 private:
  bool folderMustExist_;
};

bool RunFileDialog(QWidget* owner, TFileDialogOptions& options, bool save) {
  TFileDialog dlg(owner, options);
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

// The 16 colours a font's colour effect offers.
const struct {
  const char* name;
  QRgb rgb;
} kFontColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x800000},  {"Green", 0x008000}, {"Olive", 0x808000},
    {"Navy", 0x000080},   {"Purple", 0x800080},  {"Teal", 0x008080},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0xFF0000},     {"Lime", 0x00FF00},  {"Yellow", 0xFFFF00},
    {"Blue", 0x0000FF},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0x00FFFF},  {"White", 0xFFFFFF},
};

QIcon ColorSwatch(const QColor& c) {
  QPixmap pm(14, 10);
  pm.fill(c);
  QPainter p(&pm);
  p.setPen(Qt::black);
  p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
  return QIcon(pm);
}

// Qt's font dialog has strikeout and underline effects but no colour: a
// colour choice joins them in the effects box, and the sample shows it.
QComboBox* AddFontColorChoice(QFontDialog& dlg, const QColor& current) {
  QGroupBox* effects = nullptr;
  for (QGroupBox* box : dlg.findChildren<QGroupBox*>()) {
    if (box->findChild<QCheckBox*>()) effects = box;
  }
  if (!effects || !effects->layout()) return nullptr;
  auto* combo = new QComboBox(effects);
  combo->setObjectName("fontColorCombo");
  int index = -1;
  for (const auto& c : kFontColors) {
    const QColor qc = QColor::fromRgb(c.rgb);
    combo->addItem(ColorSwatch(qc), QString::fromLatin1(c.name), qc);
    if (current.isValid() && qc.rgb() == current.rgb()) index = combo->count() - 1;
  }
  if (index < 0 && current.isValid()) {
    combo->addItem(ColorSwatch(current), QStringLiteral("Custom"), current);
    index = combo->count() - 1;
  }
  combo->setCurrentIndex(std::max(index, 0));
  auto* label = new QLabel(QStringLiteral("Co&lor:"), effects);
  label->setBuddy(combo);
  effects->layout()->addWidget(label);
  effects->layout()->addWidget(combo);

  QLineEdit* sample = nullptr;
  for (QLineEdit* e : dlg.findChildren<QLineEdit*>()) {
    if (e->isReadOnly() || e->objectName().contains("sample", Qt::CaseInsensitive)) sample = e;
  }
  auto showColor = [sample, combo] {
    if (!sample) return;
    QPalette pal = sample->palette();
    pal.setColor(QPalette::Text, combo->currentData().value<QColor>());
    sample->setPalette(pal);
  };
  QObject::connect(combo, &QComboBox::currentIndexChanged, combo, showColor);
  showColor();
  return combo;
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

bool TQtPrompts::FontDialog(QWidget* owner, QFont& font, QColor& color) {
  QFontDialog dlg(font, owner);
  dlg.setOption(QFontDialog::DontUseNativeDialog);
  QComboBox* colors = AddFontColorChoice(dlg, color);
  if (dlg.exec() != QDialog::Accepted) return false;
  font = dlg.selectedFont();
  if (colors) color = colors->currentData().value<QColor>();
  return true;
}

bool TQtPrompts::ColorDialog(QWidget* owner, QColor& color) {
  QColorDialog dlg(color, owner);
  if (dlg.exec() != QDialog::Accepted) return false;
  color = dlg.selectedColor();
  return true;
}

bool TQtPrompts::PrintDialog(QWidget* owner, QPrinter& printer) {
  QPrintDialog dlg(&printer, owner);
  return dlg.exec() == QDialog::Accepted;
}

namespace {
QPrinter* g_printer = nullptr;
void FreePrinter() {
  delete g_printer;
  g_printer = nullptr;
}
}  // namespace

QPrinter& ApplicationPrinter() {
  if (!g_printer) {
    g_printer = new QPrinter(QPrinter::HighResolution);
    qAddPostRoutine(FreePrinter);
  }
  return *g_printer;
}

TModalResult TQtPrompts::ExecDialog(QDialog* dialog) {
  if (!dialog) return TModalResult::Cancel;
  return dialog->exec() == QDialog::Accepted ? TModalResult::OK : TModalResult::Cancel;
}

void TQtPrompts::Beep() { QApplication::beep(); }
