#include "dialogs/frmAbout.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <algorithm>

#include "components/Accessibility.h"
#include "components/QRXHtmlControls.h"
#include "components/prgutil.h"
#include "platform/Prompts.h"

namespace {

constexpr int kClientWidth = 285;
constexpr int kClientHeight = 229;
constexpr int kBannerWidth = 285;
constexpr int kBannerHeight = 50;
constexpr int kBevelHeight = 11;
constexpr int kVersionRight = 272;
constexpr int kVersionTop = 34;

// The program's banner, drawn as vectors so it is sharp at every scale: a
// small two-column list card beside the program's name on a blue ground. The
// picture keeps its size and sits centred in the widget.
class TAboutBanner : public QWidget, public TAccessibleText {
  Q_OBJECT
 public:
  explicit TAboutBanner(QWidget* parent) : QWidget(parent) {
    InstallAccessibleText();
    setObjectName(QStringLiteral("AboutImage"));
  }

  // The banner's texts, which it paints.
  QAccessible::Role AccessibleRole() const override { return QAccessible::Graphic; }
  QString AccessibleName() const override { return kTitle; }
  QString AccessibleDescription() const override { return kSubtitle; }

  static inline const QString kTitle = QStringLiteral("Vornik");
  static inline const QString kSubtitle = QStringLiteral("List database editor");

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    // The ground fills a widget wider than the picture too.
    QLinearGradient ground(0, 0, width(), kBannerHeight);
    ground.setColorAt(0.0, QColor(0x12, 0x35, 0x66));
    ground.setColorAt(1.0, QColor(0x2a, 0x63, 0xa6));
    p.fillRect(rect(), ground);
    const int shift = (width() - kBannerWidth) / 2;
    p.translate(shift, 0);

    // Two soft bands sweeping across the ground, edge to edge.
    p.setPen(Qt::NoPen);
    const qreal left = -shift - 1, right = width() - shift + 1;
    QPainterPath band;
    band.moveTo(left, 38);
    band.lineTo(0, 38);
    band.cubicTo(80, 22, 170, 58, kBannerWidth, 26);
    band.lineTo(right, 26);
    band.lineTo(right, kBannerHeight);
    band.lineTo(left, kBannerHeight);
    band.closeSubpath();
    p.setBrush(QColor(255, 255, 255, 22));
    p.drawPath(band);
    p.translate(0, 7);
    p.setBrush(QColor(255, 255, 255, 14));
    p.drawPath(band);
    p.translate(0, -7);

    // The list card: a header strip and three rows of two fields.
    const QRectF card(12.5, 8.5, 26, 33);
    p.setPen(QPen(QColor(0x0b, 0x24, 0x47), 1));
    p.setBrush(QColor(0xf5, 0xf8, 0xfc));
    p.drawRoundedRect(card, 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf0, 0xa8, 0x2c));
    p.drawRoundedRect(QRectF(13, 9, 25, 7), 2.5, 2.5);
    p.fillRect(QRectF(13, 13, 25, 3), QColor(0xf0, 0xa8, 0x2c));
    p.setBrush(QColor(0x5a, 0x7f, 0xb0));
    for (int row = 0; row < 3; ++row) {
      const qreal y = 20 + row * 7;
      p.drawRoundedRect(QRectF(16, y, 9, 3), 1.5, 1.5);
      p.drawRoundedRect(QRectF(27, y, 8, 3), 1.5, 1.5);
    }

    QFont title = font();
    title.setBold(true);
    title.setPixelSize(22);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QPointF(48, 27), kTitle);

    QFont subtitle = font();
    subtitle.setPixelSize(10);
    p.setFont(subtitle);
    p.setPen(QColor(0xc8, 0xdc, 0xf4));
    p.drawText(QPointF(49, 42), kSubtitle);
  }
};

// A horizontal etched line along the top edge of its rectangle.
class TBevelLine : public QFrame {
 public:
  explicit TBevelLine(QWidget* parent) : QFrame(parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(0, 0, width() - 1, 0);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(0, 1, width() - 1, 1);
  }
};

}  // namespace

TAboutDialog::TAboutDialog(QWidget* owner) : TAbstractDialog(owner) {
  setObjectName(QStringLiteral("AboutDialog"));
  setWindowTitle(QStringLiteral("About Vornik"));
  AboutImage = new TAboutBanner(this);
  Bevel1 = new TBevelLine(this);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  VersionLabel = new QLabel(this);
  VersionLabel->setObjectName(QStringLiteral("VersionLabel"));
  VersionLabel->setTextFormat(Qt::PlainText);
  VersionLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
  CopyrightLabel = new TQRX_htmlLabel(this);
  CopyrightLabel->setObjectName(QStringLiteral("CopyrightLabel"));
  CopyrightLabel->SetTransparent(true);
  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  OKBtn->setAutoDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

  FinishLoading(kClientWidth, kClientHeight);
  // The version sits on the banner's blue.
  QPalette light = VersionLabel->palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
    light.setColor(group, QPalette::WindowText, QColor(0xe6, 0xef, 0xfa));
  VersionLabel->setPalette(light);
  SetVersionText(QString());
  ArrangeControls();
  OKBtn->setFocus();
}

void TAboutDialog::SetVersionText(const QString& version) {
  VersionLabel->setText(QStringLiteral("Version: %1").arg(version));
  ArrangeControls();
}

void TAboutDialog::SetAboutText(const QString& markup) {
  CopyrightLabel->SetCaption(markup);
  // Read out with the dialog, as a message box's text is.
  setAccessibleDescription(CopyrightLabel->AccessibleName());
  ArrangeControls();
}

void TAboutDialog::ArrangeControls() {
  // The layout's places, widened or moved down only where the font needs
  // more room than the layout gives.
  CopyrightLabel->AdjustLabelSize();
  const QSize text = CopyrightLabel->size();
  const int clientWidth = std::max(kClientWidth, 12 + text.width() + 12);
  const int shift = (clientWidth - kBannerWidth) / 2;
  const int buttonWidth = ButtonWidth(75, {OKBtn->text()});
  const int buttonHeight = ButtonHeight(25);
  const int buttonTop = std::max(196, 64 + text.height() + 8);

  AboutImage->setGeometry(0, 0, clientWidth, kBannerHeight);
  Bevel1->setGeometry(0, kBannerHeight, clientWidth, kBevelHeight);
  const QSize version = VersionLabel->sizeHint();
  VersionLabel->setGeometry(shift + kVersionRight - version.width(), kVersionTop, version.width(),
                            version.height());
  VersionLabel->raise();
  CopyrightLabel->move(12, 64);
  OKBtn->setGeometry(clientWidth - 8 - buttonWidth, buttonTop, buttonWidth, buttonHeight);
  SetClientSize(clientWidth, std::max(kClientHeight, buttonTop + buttonHeight + 8));
}

void TAboutDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    return;
  }
  TAbstractDialog::keyPressEvent(event);
}

QString AboutText() {
  return QStringLiteral(
      "<b>Copyright (c) 2026 the Vornik developers\r\n"
      "<c:blue>vornik@example.org<c:black></b>\r\n"
      "\r\n"
      "This program is <u>freeware</u>.\r\n"
      "<b><c:red>You use this program at your own risk!<c:black></b>\r\n"
      "\r\n"
      "<b>However, any donations are welcome...</b>");
}

void ShowAboutDialog(QWidget* owner) {
  TAboutDialog dialog(owner);
  dialog.SetVersionText(ProgramVersion());
  dialog.SetAboutText(AboutText());
  Prompts().ExecDialog(&dialog);
}

#include "frmAbout.moc"
