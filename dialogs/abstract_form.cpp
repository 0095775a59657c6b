#include "dialogs/abstract_form.h"

#include <QPalette>
#include <QShowEvent>
#include <QToolTip>
#include <algorithm>

void TAbstractForm::Loaded(QWidget* form) {
  if (!form) return;
  form->setFont(QFont(QToolTip::font()));
  // Only the active and inactive groups: disabled text stays greyed.
  QPalette palette = form->palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    const QColor text = palette.color(group, QPalette::ButtonText);
    palette.setColor(group, QPalette::WindowText, text);
    palette.setColor(group, QPalette::Text, text);
  }
  form->setPalette(palette);
}

TAbstractDialog::TAbstractDialog(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setSizeGripEnabled(false);
}

void TAbstractDialog::FinishLoading(int clientWidth, int clientHeight) {
  TAbstractForm::Loaded(this);
  SetClientSize(clientWidth, clientHeight);
}

void TAbstractDialog::SetClientSize(int clientWidth, int clientHeight) {
  setFixedSize(clientWidth, clientHeight);
}

int TAbstractDialog::InputHeight(int layoutHeight) const {
  // Text line, frame and inner margins.
  return std::max(layoutHeight, fontMetrics().height() + 7);
}

int TAbstractDialog::ButtonHeight(int layoutHeight) const {
  return std::max(layoutHeight, fontMetrics().height() + 10);
}

int TAbstractDialog::ButtonWidth(int layoutWidth, const QStringList& captions) const {
  int width = layoutWidth;
  for (QString caption : captions) {
    caption.remove(QLatin1Char('&'));
    width = std::max(width, fontMetrics().horizontalAdvance(caption) + 16);
  }
  return width;
}

void TAbstractDialog::showEvent(QShowEvent* event) {
  // QDialog centres a dialog that was never moved on its owner's window
  // before it is shown; FormShow follows once the dialog is on screen.
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}
