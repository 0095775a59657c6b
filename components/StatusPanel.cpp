#include "components/StatusPanel.h"

TStatusPanel::TStatusPanel(TSpeech speech, QWidget* parent)
    : QLabel(parent), speech_(std::move(speech)) {
  InstallAccessibleText();
  setTextFormat(Qt::PlainText);
}

QString TStatusPanel::AccessibleName() const {
  const QString shown = text().trimmed();
  return speech_ ? speech_(shown) : shown;
}

TStatusPanel::TSpeech CaptionedSpeech(const QString& caption) {
  return [caption](const QString& shown) {
    return shown.isEmpty() ? caption : caption + QStringLiteral(": ") + shown;
  };
}
