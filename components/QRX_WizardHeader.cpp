#include "components/QRX_WizardHeader.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

TQRX_HeadingLabel::TQRX_HeadingLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  InstallAccessibleText();
  setTextFormat(Qt::PlainText);
}

TQRX_WizardHeader::TQRX_WizardHeader(QWidget* parent) : QWidget(parent) {
  FImage = new QLabel(this);
  FImage->setFixedSize(kImageSize, kImageSize);
  FImage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  FImage->setScaledContents(false);
  FImage->installEventFilter(this);

  FHeaderLabel = new TQRX_HeadingLabel(QStringLiteral("Header..."), this);
  QFont bold = FHeaderLabel->font();
  bold.setBold(true);
  FHeaderLabel->setFont(bold);
  FSubHeaderLabel = new TQRX_HeadingLabel(QStringLiteral("Sub-Header..."), this);

  // The system window colour, whatever the parent shows.
  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Base));
  setPalette(colours);
  setAutoFillBackground(true);

  setMinimumSize(120, kHeaderHeight);
  resize(parent ? parent->width() : 320, kHeaderHeight);
  DockToParent(this, TDockEdge::Top);
  Arrange();
}

QPixmap TQRX_WizardHeader::Picture() const { return FImage->pixmap(); }

void TQRX_WizardHeader::SetPicture(const QPixmap& picture) {
  FImage->setPixmap(picture);
  update();
}

QString TQRX_WizardHeader::Header() const { return FHeaderLabel->text(); }

void TQRX_WizardHeader::SetHeader(const QString& text) {
  FHeaderLabel->setText(text);
  Arrange();
}

QString TQRX_WizardHeader::SubHeader() const { return FSubHeaderLabel->text(); }

void TQRX_WizardHeader::SetSubHeader(const QString& text) {
  FSubHeaderLabel->setText(text);
  Arrange();
}

QFont TQRX_WizardHeader::HeaderFont() const { return FHeaderLabel->font(); }

void TQRX_WizardHeader::SetHeaderFont(const QFont& font) {
  FHeaderLabel->setFont(font);
  Arrange();
}

QFont TQRX_WizardHeader::SubHeaderFont() const { return FSubHeaderLabel->font(); }

void TQRX_WizardHeader::SetSubHeaderFont(const QFont& font) {
  FSubHeaderLabel->setFont(font);
  Arrange();
}

void TQRX_WizardHeader::Arrange() {
  FHeaderLabel->adjustSize();
  FSubHeaderLabel->adjustSize();
  FImage->move(width() - 8 - kImageSize, 8);
  FHeaderLabel->move(8, 8);
  FSubHeaderLabel->move(16, FHeaderLabel->geometry().bottom() + 1 + 8);
  update();
}

bool TQRX_WizardHeader::eventFilter(QObject* watched, QEvent* event) {
  // A click is a press and a release of the left button over the picture.
  if (watched == FImage) {
    if (event->type() == QEvent::MouseButtonPress) {
      FImagePressed = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    } else if (event->type() == QEvent::MouseButtonRelease) {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      const bool click = FImagePressed && mouse->button() == Qt::LeftButton &&
                         FImage->rect().contains(mouse->position().toPoint());
      FImagePressed = false;
      if (click) FireNotify(OnPictureImageClick, this);
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TQRX_WizardHeader::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) Arrange();
}

void TQRX_WizardHeader::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Arrange();
}
