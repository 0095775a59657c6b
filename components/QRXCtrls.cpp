#include "components/QRXCtrls.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QStylePainter>
#include <algorithm>

namespace {

// The application's style with a caret of no width where asked.
class TCaretStyle : public QProxyStyle {
 public:
  explicit TCaretStyle(QObject* owner) : QProxyStyle(QApplication::style()->name()) {
    setParent(owner);
  }
  bool hidden = false;

  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_TextCursorWidth && hidden) return 0;
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

// The platform's combo box arrow, as a picture on a transparent ground.
QPixmap DropDownArrow(const QWidget* widget) {
  QPixmap pixmap(9, 9);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  QStyleOption option;
  option.initFrom(widget);
  option.state = QStyle::State_Enabled;
  option.rect = pixmap.rect();
  widget->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &painter, widget);
  return pixmap;
}

}  // namespace

// --- the button ---

TEditSpeedButton::TEditSpeedButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  connect(this, &QAbstractButton::clicked, this, [this] {
    if (!FClickedOnPress && EditControl) EditControl->ButtonClick();
  });
}

void TEditSpeedButton::SetGlyph(const QPixmap& glyph) {
  FGlyph = glyph;
  update();
}

void TEditSpeedButton::SetNumGlyphs(int count) {
  FNumGlyphs = std::clamp(count, 1, 4);
  update();
}

void TEditSpeedButton::SetFlat(bool flat) {
  FFlat = flat;
  update();
}

QSize TEditSpeedButton::sizeHint() const { return {15, 21}; }

QPixmap TEditSpeedButton::StatePicture() const {
  if (FGlyph.isNull()) return {};
  const int width = FGlyph.width() / FNumGlyphs;
  const auto part = [&](int index) {
    return FGlyph.copy(index * width, 0, width, FGlyph.height());
  };
  if (!isEnabled()) {
    if (FNumGlyphs >= 2) return part(1);
    QStyleOption option;
    option.initFrom(this);
    return style()->generatedIconPixmap(QIcon::Disabled, part(0), &option);
  }
  if (isDown() && FNumGlyphs >= 3) return part(2);
  if (isChecked() && FNumGlyphs >= 4) return part(3);
  return part(0);
}

void TEditSpeedButton::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  const bool down = isDown() || isChecked();
  if (!FFlat || down || (underMouse() && isEnabled())) {
    QStyleOptionButton option;
    option.initFrom(this);
    option.state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
    if (FFlat) option.features |= QStyleOptionButton::Flat;
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
  }
  const QPixmap picture = StatePicture();
  if (picture.isNull()) return;
  const QSize size = picture.deviceIndependentSize().toSize();
  QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
  if (down) at += QPoint(1, 1);
  painter.drawPixmap(at, picture);
}

void TEditSpeedButton::mousePressEvent(QMouseEvent* event) {
  FClickedOnPress = false;
  QAbstractButton::mousePressEvent(event);
  if (isDown() && EditControl && EditControl->ClickOnPress()) {
    repaint();
    FClickedOnPress = true;
    EditControl->ButtonClick();
  }
}

void TEditSpeedButton::mouseReleaseEvent(QMouseEvent* event) {
  QAbstractButton::mouseReleaseEvent(event);
  FClickedOnPress = false;
  if (EditControl) EditControl->ButtonReleased();
}

void TEditSpeedButton::enterEvent(QEnterEvent* event) {
  QAbstractButton::enterEvent(event);
  if (FFlat) update();
}

void TEditSpeedButton::leaveEvent(QEvent* event) {
  QAbstractButton::leaveEvent(event);
  if (FFlat) update();
}

// --- the edit ---

TQRXCustomClickEdit::TQRXCustomClickEdit(QWidget* parent)
    : QLineEdit(parent), FButtonShortCut(QKeyCombination(Qt::AltModifier, Qt::Key_Down)) {
  FButtonPanel = new QWidget(this);
  FButtonPanel->setCursor(Qt::ArrowCursor);
  FButtonPanel->setBackgroundRole(QPalette::Button);
  FButtonPanel->setAutoFillBackground(true);
  FButton = new TEditSpeedButton(FButtonPanel);
  FButton->EditControl = this;
  SetButtonWidth(15);
}

TQRXCustomClickEdit::~TQRXCustomClickEdit() {
  // The button must not call back into an edit that is going away.
  FButton->EditControl = nullptr;
}

void TQRXCustomClickEdit::SetAlignment(Qt::Alignment alignment) {
  alignment &= Qt::AlignHorizontal_Mask;
  if (alignment == FAlignment) return;
  FAlignment = alignment;
  ApplyAlignment();
}

void TQRXCustomClickEdit::ApplyAlignment() {
  const Qt::Alignment shown = FFocused ? Qt::AlignLeft : FAlignment;
  setAlignment(shown | Qt::AlignVCenter);
}

bool TQRXCustomClickEdit::ButtonEnabled() const { return FButtonPanel->isEnabledTo(this); }

void TQRXCustomClickEdit::SetButtonEnabled(bool enabled) {
  FButtonPanel->setEnabled(enabled);
  FButton->setEnabled(enabled && isEnabledTo(parentWidget()));
}

bool TQRXCustomClickEdit::ButtonVisible() const { return !FButtonPanel->isHidden(); }

void TQRXCustomClickEdit::SetButtonVisible(bool visible) {
  FButtonPanel->setVisible(visible);
  SetEditRect();
  update();
}

int TQRXCustomClickEdit::ButtonWidth() const { return FButtonPanel->width() - 1; }

void TQRXCustomClickEdit::SetButtonWidth(int width) {
  FButtonPanel->resize(std::max(width, 0) + 1, FButtonPanel->height());
  PlaceButtonPanel();
  SetEditRect();
  update();
}

void TQRXCustomClickEdit::SetCaret(bool caret) {
  if (caret == FCaret) return;
  FCaret = caret;
  if (!caret && !FCaretStyle) {
    FCaretStyle = new TCaretStyle(this);
    setStyle(FCaretStyle);
  }
  if (FCaretStyle) static_cast<TCaretStyle*>(FCaretStyle.data())->hidden = !caret;
  if (FFocused) update();
}

void TQRXCustomClickEdit::SetGlyph(const QPixmap& glyph) {
  FButton->SetGlyph(glyph);
  FGlyphKind = gkCustom;
}

void TQRXCustomClickEdit::SetGlyphKind(TGlyphKind kind) {
  if (kind == FGlyphKind) return;
  FGlyphKind = kind;
  if (kind == gkDropDown) {
    FButton->SetGlyph(DropDownArrow(this));
    FButton->SetNumGlyphs(1);
    SetButtonWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
  }
}

void TQRXCustomClickEdit::SetNumGlyphs(int count) {
  FButton->SetNumGlyphs(FGlyphKind == gkDropDown ? 1 : count);
}

void TQRXCustomClickEdit::ButtonClick() { FireNotify(OnButtonClick, this); }

bool TQRXCustomClickEdit::IsButtonShortCut(const QKeyEvent* event) const {
  const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
  return !FButtonShortCut.isEmpty() &&
         FButtonShortCut[0] == QKeyCombination(modifiers, Qt::Key(event->key()));
}

bool TQRXCustomClickEdit::event(QEvent* event) {
  // The combination belongs to the button even where a window shortcut uses it.
  if (event->type() == QEvent::ShortcutOverride &&
      IsButtonShortCut(static_cast<QKeyEvent*>(event)) && ButtonVisible() && ButtonEnabled()) {
    event->accept();
    return true;
  }
  return QLineEdit::event(event);
}

void TQRXCustomClickEdit::keyPressEvent(QKeyEvent* event) {
  // Enter and Esc are left unhandled by the line edit, so they reach the
  // dialog's default and cancel buttons.
  QLineEdit::keyPressEvent(event);
  if (IsButtonShortCut(event) && ButtonVisible() && ButtonEnabled()) {
    event->accept();
    ButtonClick();
  }
}

void TQRXCustomClickEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::EnabledChange) {
    FButton->setEnabled(FButtonPanel->isEnabledTo(this) && isEnabledTo(parentWidget()));
  } else if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange) {
    PlaceButtonPanel();
    SetEditRect();
  }
}

void TQRXCustomClickEdit::focusInEvent(QFocusEvent* event) {
  FFocused = true;
  ApplyAlignment();
  QLineEdit::focusInEvent(event);
}

void TQRXCustomClickEdit::focusOutEvent(QFocusEvent* event) {
  // A context menu of the edit leaves it in charge.
  if (event->reason() != Qt::PopupFocusReason) {
    FFocused = false;
    ApplyAlignment();
  }
  QLineEdit::focusOutEvent(event);
}

void TQRXCustomClickEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  PlaceButtonPanel();
  SetEditRect();
}

void TQRXCustomClickEdit::PlaceButtonPanel() {
  int frame = 0;
  if (hasFrame()) {
    QStyleOptionFrame option;
    initStyleOption(&option);
    frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  }
  const int panelWidth = FButtonPanel->width();
  const int panelHeight = std::max(height() - 2 * frame, 0);
  FButtonPanel->setGeometry(width() - frame - panelWidth, frame, panelWidth, panelHeight);
  FButton->setGeometry(1, 0, panelWidth - 1, panelHeight);
}

void TQRXCustomClickEdit::SetEditRect() {
  const QMargins margins = textMargins();
  const int right = ButtonVisible() ? FButtonPanel->width() : 0;
  if (margins.right() != right)
    setTextMargins(margins.left(), margins.top(), right, margins.bottom());
}
