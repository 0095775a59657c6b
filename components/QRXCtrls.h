// A single-line edit with a small push button at its right edge, for inputs
// whose value can also be picked by other means (a file name from a file
// dialog, say). The button, a key combination (Alt+Down unless set otherwise)
// and OnButtonClick make up the feature; the text stays fully editable and
// never runs under the button. While the edit has no focus its text can show
// right-aligned or centred.
#pragma once

#include <QAbstractButton>
#include <QKeySequence>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>

#include "components/ControlSupport.h"

class QProxyStyle;
class TQRXCustomClickEdit;

enum TGlyphKind {
  gkCustom,    // a picture chosen by the program
  gkDropDown,  // the platform's combo box arrow
};

// The button inside the edit: never takes the focus and shows a glyph, a
// strip of 1 to 4 equal pictures (normal, disabled, pressed, exclusive).
class TEditSpeedButton : public QAbstractButton {
  Q_OBJECT
 public:
  explicit TEditSpeedButton(QWidget* parent = nullptr);

  // The edit that contains the button (not owned).
  TQRXCustomClickEdit* EditControl = nullptr;

  QPixmap Glyph() const { return FGlyph; }
  void SetGlyph(const QPixmap& glyph);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int count);
  // A flat button shows its frame only while pointed at or pressed.
  bool Flat() const { return FFlat; }
  void SetFlat(bool flat);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  // The picture of the strip for the button's state.
  QPixmap StatePicture() const;

  QPixmap FGlyph;
  int FNumGlyphs = 1;
  bool FFlat = false;
  bool FClickedOnPress = false;
};

class TQRXCustomClickEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit TQRXCustomClickEdit(QWidget* parent = nullptr);
  ~TQRXCustomClickEdit() override;

  TEditSpeedButton* Button() const { return FButton; }
  QWidget* ButtonPanel() const { return FButtonPanel; }

 protected:
  // Alignment of the text while the edit has no focus (left, right or
  // horizontally centred); with the focus the text is left-aligned for editing.
  Qt::Alignment Alignment() const { return FAlignment; }
  void SetAlignment(Qt::Alignment alignment);
  // Whether the button can be used. Writing it enables or disables both the
  // button and its panel, so reading it, the key combination and the button
  // always agree.
  bool ButtonEnabled() const;
  void SetButtonEnabled(bool enabled);
  QKeySequence ButtonShortCut() const { return FButtonShortCut; }
  void SetButtonShortCut(const QKeySequence& shortCut) { FButtonShortCut = shortCut; }
  bool ButtonVisible() const;
  void SetButtonVisible(bool visible);
  int ButtonWidth() const;
  void SetButtonWidth(int width);
  // Whether the text caret shows while the edit has the focus.
  bool Caret() const { return FCaret; }
  void SetCaret(bool caret);
  QPixmap Glyph() const { return FButton->Glyph(); }
  // Also makes GlyphKind gkCustom.
  void SetGlyph(const QPixmap& glyph);
  TGlyphKind GlyphKind() const { return FGlyphKind; }
  // gkDropDown shows the combo box arrow on a button as wide as a vertical
  // scroll bar.
  void SetGlyphKind(TGlyphKind kind);
  int NumGlyphs() const { return FButton->NumGlyphs(); }
  void SetNumGlyphs(int count);
  bool Flat() const { return FButton->Flat(); }
  void SetFlat(bool flat) { FButton->SetFlat(flat); }

  TNotifyEvent OnButtonClick;

  // Fires OnButtonClick with the edit as Sender.
  virtual void ButtonClick();
  // Runs after the button is released.
  virtual void ButtonReleased() {}
  // Whether a press of the button already counts as a click.
  virtual bool ClickOnPress() const { return false; }

  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class TEditSpeedButton;
  bool IsButtonShortCut(const QKeyEvent* event) const;
  // Places the panel inside the frame along the right edge and the button in it.
  void PlaceButtonPanel();
  // Keeps the text clear of the button.
  void SetEditRect();
  void ApplyAlignment();

  TEditSpeedButton* FButton;
  QWidget* FButtonPanel;
  QPointer<QProxyStyle> FCaretStyle;
  bool FFocused = false;
  Qt::Alignment FAlignment = Qt::AlignLeft;
  QKeySequence FButtonShortCut;
  bool FCaret = true;
  TGlyphKind FGlyphKind = gkCustom;
};

// The edit with its settings public.
class TQRXClickEdit : public TQRXCustomClickEdit {
  Q_OBJECT
 public:
  using TQRXCustomClickEdit::TQRXCustomClickEdit;

  using TQRXCustomClickEdit::Alignment;
  using TQRXCustomClickEdit::ButtonEnabled;
  using TQRXCustomClickEdit::ButtonShortCut;
  using TQRXCustomClickEdit::ButtonVisible;
  using TQRXCustomClickEdit::ButtonWidth;
  using TQRXCustomClickEdit::Caret;
  using TQRXCustomClickEdit::Flat;
  using TQRXCustomClickEdit::Glyph;
  using TQRXCustomClickEdit::GlyphKind;
  using TQRXCustomClickEdit::NumGlyphs;
  using TQRXCustomClickEdit::OnButtonClick;
  using TQRXCustomClickEdit::SetAlignment;
  using TQRXCustomClickEdit::SetButtonEnabled;
  using TQRXCustomClickEdit::SetButtonShortCut;
  using TQRXCustomClickEdit::SetButtonVisible;
  using TQRXCustomClickEdit::SetButtonWidth;
  using TQRXCustomClickEdit::SetCaret;
  using TQRXCustomClickEdit::SetFlat;
  using TQRXCustomClickEdit::SetGlyph;
  using TQRXCustomClickEdit::SetGlyphKind;
  using TQRXCustomClickEdit::SetNumGlyphs;
};
