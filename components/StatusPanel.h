// A panel of the status bar: a label whose spoken text says what its value
// is ("Records: 12"), not only the value it shows.
#pragma once

#include <QLabel>
#include <functional>

#include "components/Accessibility.h"

class TStatusPanel : public QLabel, public TAccessibleText {
  Q_OBJECT
 public:
  // What a reader says for the text the panel shows (trimmed).
  using TSpeech = std::function<QString(const QString& shown)>;

  explicit TStatusPanel(TSpeech speech, QWidget* parent = nullptr);

  QAccessible::Role AccessibleRole() const override { return QAccessible::StaticText; }
  QString AccessibleName() const override;

 private:
  TSpeech speech_;
};

// The caption, and after a colon what the panel shows when it shows anything.
TStatusPanel::TSpeech CaptionedSpeech(const QString& caption);
