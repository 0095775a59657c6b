#include "components/QRXHtmlControls.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QToolTip>
#include <algorithm>

#include "platform/Canvas.h"
#include "platform/TextLines.h"

// ---------------------------------------------------------------------------
// Colours

namespace {

constexpr TColorValue Rgb(int r, int g, int b) {
  return TColorValue(r) | (TColorValue(g) << 8) | (TColorValue(b) << 16);
}
constexpr TColorValue Sys(int index) { return kSystemColorFlag | TColorValue(index); }

const THtmlColorName kColors[kHtmlColorCount] = {
    {"clBlack", Rgb(0, 0, 0)},
    {"clMaroon", Rgb(128, 0, 0)},
    {"clGreen", Rgb(0, 128, 0)},
    {"clOlive", Rgb(128, 128, 0)},
    {"clNavy", Rgb(0, 0, 128)},
    {"clPurple", Rgb(128, 0, 128)},
    {"clTeal", Rgb(0, 128, 128)},
    {"clGray", Rgb(128, 128, 128)},
    {"clSilver", Rgb(192, 192, 192)},
    {"clRed", Rgb(255, 0, 0)},
    {"clLime", Rgb(0, 255, 0)},
    {"clYellow", Rgb(255, 255, 0)},
    {"clBlue", Rgb(0, 0, 255)},
    {"clFuchsia", Rgb(255, 0, 255)},
    {"clAqua", Rgb(0, 255, 255)},
    {"clWhite", Rgb(255, 255, 255)},
    {"clMoneyGreen", Rgb(192, 220, 192)},
    {"clSkyBlue", Rgb(166, 202, 240)},
    {"clCream", Rgb(255, 251, 240)},
    {"clMedGray", Rgb(160, 160, 164)},
    {"clScrollBar", Sys(0)},
    {"clBackground", Sys(1)},
    {"clActiveCaption", Sys(2)},
    {"clInactiveCaption", Sys(3)},
    {"clMenu", Sys(4)},
    {"clWindow", Sys(5)},
    {"clWindowFrame", Sys(6)},
    {"clMenuText", Sys(7)},
    {"clWindowText", Sys(8)},
    {"clCaptionText", Sys(9)},
    {"clActiveBorder", Sys(10)},
    {"clInactiveBorder", Sys(11)},
    {"clAppWorkSpace", Sys(12)},
    {"clHighlight", Sys(13)},
    {"clHighlightText", Sys(14)},
    {"clBtnFace", Sys(15)},
    {"clBtnShadow", Sys(16)},
    {"clGrayText", Sys(17)},
    {"clBtnText", Sys(18)},
    {"clInactiveCaptionText", Sys(19)},
    {"clBtnHighlight", Sys(20)},
    {"cl3DDkShadow", Sys(21)},
    {"cl3DLight", Sys(22)},
    {"clInfoText", Sys(23)},
    {"clInfoBk", Sys(24)},
    {"clHotLight", Sys(26)},
    {"clGradientActiveCaption", Sys(27)},
    {"clGradientInactiveCaption", Sys(28)},
    {"clMenuHighlight", Sys(29)},
    {"clMenuBar", Sys(30)},
    {"clNone", clNone},
    {"clDefault", clDefault},
};

}  // namespace

const THtmlColorName* HtmlColorTable() { return kColors; }

bool HtmlResolveColor(const QString& name, QColor& color) {
  QColor result;
  if (name.isEmpty()) return false;
  if (name.startsWith(u'$')) {
    // Hex digits only (no blank, sign or "0x"), at most 32 bits of value.
    if (name.size() < 2) return false;
    std::uint64_t value = 0;
    for (qsizetype i = 1; i < name.size(); ++i) {
      const char16_t c = name.at(i).unicode();
      int d;
      if (c >= u'0' && c <= u'9')
        d = c - u'0';
      else if (c >= u'a' && c <= u'f')
        d = c - u'a' + 10;
      else if (c >= u'A' && c <= u'F')
        d = c - u'A' + 10;
      else
        return false;
      value = value * 16 + std::uint64_t(d);
      if (value > 0xFFFFFFFFu) return false;
    }
    result = ColorValueToQColor(TColorValue(value));
  } else {
    const QString full = QStringLiteral("cl") + name;
    for (const THtmlColorName& c : kColors) {
      if (full.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) {
        result = ColorValueToQColor(c.value);
        break;
      }
    }
  }
  if (!result.isValid()) return false;  // clNone and unknown names: unchanged
  color = result;
  return true;
}

// ---------------------------------------------------------------------------
// The line renderer

namespace {

enum class TTag { None, BoldOn, BoldOff, ItalicOn, ItalicOff, UnderlineOn, UnderlineOff, Color };

struct TTagMatch {
  TTag tag = TTag::None;
  qsizetype end = 0;  // index after the tag
  QString colorName;
};

// Whether the text at pos (just after a '<') starts a tag.
TTagMatch MatchTag(const QString& line, qsizetype pos) {
  static const struct {
    const char16_t* text;
    TTag tag;
  } kStyleTags[] = {{u"b>", TTag::BoldOn},      {u"/b>", TTag::BoldOff},
                    {u"i>", TTag::ItalicOn},    {u"/i>", TTag::ItalicOff},
                    {u"u>", TTag::UnderlineOn}, {u"/u>", TTag::UnderlineOff}};
  const QStringView rest = QStringView(line).mid(pos);
  TTagMatch m;
  for (const auto& t : kStyleTags) {
    const QStringView name(t.text);
    if (rest.startsWith(name, Qt::CaseInsensitive)) {
      m.tag = t.tag;
      m.end = pos + name.size();
      return m;
    }
  }
  if (rest.startsWith(u"c:", Qt::CaseInsensitive)) {
    const qsizetype nameStart = pos + 2;
    const qsizetype close = line.indexOf(u'>', nameStart);
    m.tag = TTag::Color;
    m.colorName = line.mid(nameStart, close < 0 ? -1 : close - nameStart);
    m.end = close < 0 ? line.size() : close + 1;
  }
  return m;
}

void ApplyTag(TCanvas& canvas, const TTagMatch& m) {
  int style = canvas.FontStyle();
  switch (m.tag) {
    case TTag::BoldOn:
      style |= fsBold;
      break;
    case TTag::BoldOff:
      style &= ~fsBold;
      break;
    case TTag::ItalicOn:
      style |= fsItalic;
      break;
    case TTag::ItalicOff:
      style &= ~fsItalic;
      break;
    case TTag::UnderlineOn:
      style |= fsUnderline;
      break;
    case TTag::UnderlineOff:
      style &= ~fsUnderline;
      break;
    case TTag::Color: {
      QColor c = canvas.FontColor();
      if (HtmlResolveColor(m.colorName, c)) canvas.SetFontColor(c);
      return;
    }
    case TTag::None:
      return;
  }
  if (style != canvas.FontStyle()) canvas.SetFontStyle(style);
}

// The font style and colour of a canvas, put back when the scope ends.
class TFontStateGuard {
 public:
  explicit TFontStateGuard(TCanvas& canvas)
      : canvas_(canvas), style_(canvas.FontStyle()), color_(canvas.FontColor()) {}
  ~TFontStateGuard() { Restore(); }
  void Restore() {
    if (canvas_.FontStyle() != style_) canvas_.SetFontStyle(style_);
    canvas_.SetFontColor(color_);
  }

 private:
  TCanvas& canvas_;
  int style_;
  QColor color_;
};

}  // namespace

THtmlLineResult HtmlRenderLine(TCanvas* canvas, const QRect& rect, const QString& line,
                               bool measureOnly) {
  THtmlLineResult result;
  result.plain.reserve(line.size());
  // Filling is drawing: a measurement leaves the surface alone.
  if (canvas && !measureOnly) canvas->FillRect(rect);
  int x = rect.left() + 2;
  const int y = rect.top();
  qsizetype segStart = 0;

  auto flush = [&](qsizetype segEnd) {
    if (segEnd <= segStart) return;
    const QString segment = line.mid(segStart, segEnd - segStart);
    if (canvas) {
      if (!measureOnly) canvas->TextOut(x, y, segment);
      x += canvas->TextWidth(segment);
    }
    result.plain += segment;
  };

  qsizetype i = 0;
  while (i < line.size()) {
    if (line.at(i) != u'<') {
      ++i;
      continue;
    }
    const TTagMatch m = MatchTag(line, i + 1);
    if (m.tag == TTag::None) {
      ++i;  // an ordinary '<'
      continue;
    }
    flush(i);
    if (canvas) ApplyTag(*canvas, m);
    i = m.end;
    segStart = i;
  }
  flush(line.size());
  result.width = canvas ? x - rect.left() + 4 : 6;
  return result;
}

void HtmlDrawLine(TCanvas& canvas, const QRect& rect, const QString& line) {
  HtmlRenderLine(&canvas, rect, line, false);
}

int HtmlLineWidth(TCanvas& canvas, const QRect& rect, const QString& line) {
  return HtmlRenderLine(&canvas, rect, line, true).width;
}

QString HtmlPlainText(const QString& text) {
  // Tags never span a line break: strip each line and keep the breaks.
  QString out;
  out.reserve(text.size());
  qsizetype start = 0;
  for (qsizetype i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text.at(i) == u'\r' || text.at(i) == u'\n') {
      out += HtmlRenderLine(nullptr, QRect(), text.mid(start, i - start), true).plain;
      if (i < text.size()) out += text.at(i);
      start = i + 1;
    }
  }
  return out;
}

// ---------------------------------------------------------------------------
// TQRX_htmlLabel

TQRX_htmlLabel::TQRX_htmlLabel(QWidget* parent) : QWidget(parent) {
  InstallAccessibleText();
  caption_ = QStringLiteral("<b>Html</b> <c:blue>label<c:black>");
  loading_ = false;
  AdjustLabelSize();
}

void TQRX_htmlLabel::SetCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  AdjustLabelSize();
  update();
  NotifyAccessibleTextChanged(this);
}

QString TQRX_htmlLabel::AccessibleName() const {
  return SplitLines(HtmlPlainText(caption_)).join(QLatin1Char('\n'));
}

void TQRX_htmlLabel::SetAutoSize(bool on) {
  if (on == autoSize_) return;
  autoSize_ = on;
  AdjustLabelSize();
  update();
}

void TQRX_htmlLabel::SetAlignment(TAlignment a) {
  if (a == alignment_) return;
  alignment_ = a;
  update();
}

void TQRX_htmlLabel::SetLayout(TTextLayout l) {
  if (l == layout_) return;
  layout_ = l;
  update();
}

void TQRX_htmlLabel::SetTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  update();
}

QColor TQRX_htmlLabel::Color() const {
  if (color_.isValid()) return color_;
  const QWidget* p = parentWidget();
  return (p ? p->palette() : palette()).color(QPalette::Window);
}

void TQRX_htmlLabel::SetColor(const QColor& color) {
  color_ = color;
  update();
}

QColor TQRX_htmlLabel::FontColor() const { return palette().color(QPalette::WindowText); }

void TQRX_htmlLabel::SetFontColor(const QColor& color) {
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, color);
  setPalette(pal);
  update();
}

void TQRX_htmlLabel::PrepareCanvas(TCanvas& canvas) const {
  canvas.SetFont(font());
  canvas.SetFontColor(FontColor());
}

QSize TQRX_htmlLabel::MeasureCaption(TCanvas& canvas) const {
  TFontStateGuard guard(canvas);
  const QStringList lines = SplitLines(caption_);
  if (lines.isEmpty()) return QSize(0, 0);
  const int lineHeight = canvas.TextHeight(QStringLiteral("W"));
  int width = 0;
  for (const QString& line : lines) width = std::max(width, HtmlLineWidth(canvas, line));
  return QSize(width, lineHeight * int(lines.size()));
}

void TQRX_htmlLabel::AdjustLabelSize() {
  if (loading_ || !autoSize_) return;
  TQPainterCanvas canvas(static_cast<QPaintDevice*>(const_cast<TQRX_htmlLabel*>(this)));
  PrepareCanvas(canvas);
  const QSize s = MeasureCaption(canvas);
  int left = x();
  if (alignment_ == TAlignment::RightJustify) left += width() - s.width();
  setGeometry(left, y(), s.width(), s.height());
  updateGeometry();
}

QSize TQRX_htmlLabel::sizeHint() const {
  if (!autoSize_) return size();
  TQPainterCanvas canvas(static_cast<QPaintDevice*>(const_cast<TQRX_htmlLabel*>(this)));
  PrepareCanvas(canvas);
  return MeasureCaption(canvas);
}

void TQRX_htmlLabel::PaintTo(TCanvas& canvas) const {
  PrepareCanvas(canvas);
  canvas.SetBrushColor(Color());
  canvas.SetBrushStyle(transparent_ ? TBrushStyle::Clear : TBrushStyle::Solid);
  const int clientW = width(), clientH = height();
  canvas.FillRect(QRect(0, 0, clientW, clientH));

  const int lineHeight = canvas.TextHeight(QStringLiteral("W"));
  TFontStateGuard guard(canvas);  // restored after the last line, also on failure
  const QStringList lines = SplitLines(caption_);
  const int n = int(lines.size());
  for (int i = 0; i < n; ++i) {
    int top = 0;
    switch (layout_) {
      case TTextLayout::Top:
        top = i * lineHeight;
        break;
      case TTextLayout::Center:
        top = (clientH - n * lineHeight) / 2 + i * lineHeight;
        break;
      case TTextLayout::Bottom:
        top = clientH - (n - i) * lineHeight;
        break;
    }
    int left = 0;
    if (alignment_ != TAlignment::LeftJustify) {
      // Measured from the state the line starts with, then drawn from it.
      TFontStateGuard lineStart(canvas);
      const int w = HtmlLineWidth(canvas, lines[i]);
      left = alignment_ == TAlignment::RightJustify ? clientW - w : (clientW - w) / 2;
    }
    HtmlDrawLine(canvas, QRect(left, top, clientW - left, clientH - top), lines[i]);
  }
}

void TQRX_htmlLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  TQPainterCanvas canvas(&painter);
  PaintTo(canvas);
}

void TQRX_htmlLabel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    AdjustLabelSize();
    update();
  }
  QWidget::changeEvent(event);
}

// ---------------------------------------------------------------------------
// TQRX_htmlHintWindow

namespace {
constexpr int kHintBorder = 1;
// The platform's hint window adds this much height to the calculated
// rectangle, so the text has the same margin below as above.
constexpr int kHintExtraHeight = 4;

int g_hintPause = 500;
int g_hintHidePause = 2500;
}  // namespace

TQRX_htmlHintWindow::TQRX_htmlHintWindow(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
  InstallAccessibleText();
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, pal.color(QPalette::ToolTipBase));
  pal.setColor(QPalette::WindowText, pal.color(QPalette::ToolTipText));
  setPalette(pal);
  setAutoFillBackground(true);
  setFont(QToolTip::font());
  label_ = new TQRX_htmlLabel(this);
  label_->move(kHintBorder + 2, kHintBorder + 2);
  label_->SetCaption(QString());
}

QRect TQRX_htmlHintWindow::CalcHintRect(int /*maxWidth*/, const QString& hint) {
  const bool changed = hint != label_->Caption();
  label_->SetCaption(hint);
  label_->AdjustLabelSize();
  if (changed && isVisible()) NotifyAccessibleTextChanged(this);
  if (g_hintHidePause > 0) g_hintHidePause = std::max(2500, 50 * int(HtmlPlainText(hint).size()));
  return QRect(0, 0, label_->width() + 6, label_->height() + 2);
}

void TQRX_htmlHintWindow::ActivateHint(const QPoint& topLeftGlobal, const QString& hint) {
  QSize size = CalcHintRect(0, hint).size();
  size.rheight() += kHintExtraHeight;
  QPoint pos = topLeftGlobal;
  if (QScreen* screen = QGuiApplication::screenAt(topLeftGlobal)) {
    const QRect area = screen->availableGeometry();
    pos.setX(std::max(area.left(), std::min(pos.x(), area.right() + 1 - size.width())));
    pos.setY(std::max(area.top(), std::min(pos.y(), area.bottom() + 1 - size.height())));
  }
  setGeometry(QRect(pos, size));
  const bool shown = isVisible();
  show();
  if (!shown) NotifyAccessibleShown(this);
  raise();
  update();
}

QString TQRX_htmlHintWindow::AccessibleName() const { return label_->AccessibleName(); }

void TQRX_htmlHintWindow::paintEvent(QPaintEvent*) {
  // The label draws the text; the window draws only its border.
  QPainter p(this);
  p.setPen(palette().color(QPalette::ToolTipText));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// ---------------------------------------------------------------------------
// TQRX_HintEx: the application's hint machinery

namespace {

// Watches the whole application: shows the markup hint instead of QToolTip,
// with its own show delay, and hides it on leaving, clicks and keys.
class THintManager : public QObject {
 public:
  THintManager() {
    showTimer_.setSingleShot(true);
    hideTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, &THintManager::ShowPending);
    connect(&hideTimer_, &QTimer::timeout, this, [this] {
      done_ = owner_;
      Hide();
    });
  }
  ~THintManager() override { delete window_.data(); }

  TQRX_htmlHintWindow* Window() {
    if (!window_) window_ = new TQRX_htmlHintWindow;
    return window_;
  }
  bool Visible() const { return window_ && window_->isVisible(); }
  QString Current() const { return Visible() ? current_ : QString(); }

  void Show(const QString& markup, const QPoint& topLeft, QWidget* owner, const QRect& keep) {
    if (markup.isEmpty()) {
      Hide();
      return;
    }
    if (Visible() && markup == current_ && keep == keepRect_ && owner == owner_) return;
    current_ = markup;
    keepRect_ = keep;
    owner_ = owner;
    showTimer_.stop();
    Window()->ActivateHint(topLeft, markup);
    if (g_hintHidePause > 0)
      hideTimer_.start(g_hintHidePause);
    else
      hideTimer_.stop();
  }

  void Hide() {
    hideTimer_.stop();
    if (window_) window_->hide();
    current_.clear();
    keepRect_ = QRect();
    owner_ = nullptr;
  }

  bool installed = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::ToolTip:
        return installed && ToolTip(watched, static_cast<QHelpEvent*>(event));
      case QEvent::MouseMove:
        if (installed) MouseMove(watched, static_cast<QMouseEvent*>(event));
        break;
      case QEvent::Leave:
        if (owner_ && watched == owner_) Hide();
        break;
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::Wheel:
      case QEvent::WindowDeactivate:
        showTimer_.stop();
        if (Visible()) {
          done_ = owner_;
          Hide();
        }
        break;
      default:
        break;
    }
    return false;
  }

 private:
  bool ToolTip(QObject* watched, QHelpEvent* help) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->toolTip().isEmpty()) return false;  // the widget's own business
    // "Short|Long": the tool tip is the part before the bar.
    const QString text = w->toolTip().section(u'|', 0, 0);
    if (w == done_) return true;  // shown already while the pointer stayed here
    pending_ = w;                 // the pointer is over it, whether or not a move was seen
    const QRect keep(w->mapToGlobal(QPoint(0, 0)), w->size());
    Show(text, help->globalPos() + QPoint(0, kPointerHeight), w, keep);
    return true;
  }

  void MouseMove(QObject* watched, QMouseEvent* e) {
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || (window_ && w->window() == window_)) return;
    // Only the deepest widget under the pointer counts, not the parents the
    // event propagates to.
    if (e->buttons() != Qt::NoButton || w->childAt(e->position().toPoint())) return;
    const QPoint global = e->globalPosition().toPoint();
    bool left = false;
    if (Visible() && !keepRect_.isEmpty() && !keepRect_.contains(global)) {
      Hide();
      left = true;
    }
    if (w != pending_) {
      pending_ = w;
      done_ = nullptr;
    }
    pendingPos_ = global;
    if (Visible() || Done(w)) return;
    showTimer_.start(left ? kShortPause : g_hintPause);
  }

  void ShowPending() {
    QWidget* w = pending_;
    if (!w || !w->isVisible() || Done(w)) return;
    QHelpEvent help(QEvent::ToolTip, w->mapFromGlobal(pendingPos_), pendingPos_);
    QCoreApplication::sendEvent(w, &help);
  }

  // A tool tip widget whose hint has been shown and ended stays quiet until
  // the pointer moves to another widget. Widgets that show their own hints
  // (an empty toolTip) decide for themselves.
  bool Done(QWidget* w) const { return w == done_ && !w->toolTip().isEmpty(); }

  static constexpr int kPointerHeight = 20;
  static constexpr int kShortPause = 50;
  QPointer<TQRX_htmlHintWindow> window_;
  QTimer showTimer_, hideTimer_;
  QString current_;
  QRect keepRect_;
  QPointer<QWidget> owner_;    // the widget the shown hint belongs to
  QPointer<QWidget> pending_;  // the widget under the pointer
  QPointer<QWidget> done_;     // its hint was shown and ended: not again until left
  QPoint pendingPos_;
};

THintManager* g_manager = nullptr;

void DestroyManager() {
  delete g_manager;
  g_manager = nullptr;
}

THintManager& Manager() {
  if (!g_manager) {
    g_manager = new THintManager;
    qAddPostRoutine(DestroyManager);
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(g_manager);
  }
  return *g_manager;
}

}  // namespace

TQRX_HintEx::TQRX_HintEx(QObject* parent) : QObject(parent) {}

void TQRX_HintEx::Install() {
  THintManager& m = Manager();
  if (!m.installed) {
    QToolTip::hideText();  // the standard window gives way to the markup window
    m.installed = true;
  }
  g_hintPause = 500;
  g_hintHidePause = 4000;
}

bool TQRX_HintEx::Installed() { return g_manager && g_manager->installed; }

void TQRX_HintEx::ShowHint(const QString& markup, const QPoint& topLeftGlobal, QWidget* owner,
                           const QRect& keepRectGlobal) {
  Manager().Show(markup, topLeftGlobal, owner, keepRectGlobal);
}

void TQRX_HintEx::HideHint() {
  if (g_manager) g_manager->Hide();
}

bool TQRX_HintEx::HintVisible() { return g_manager && g_manager->Visible(); }
QString TQRX_HintEx::CurrentHint() { return g_manager ? g_manager->Current() : QString(); }
TQRX_htmlHintWindow* TQRX_HintEx::HintWindow() { return Manager().Window(); }

int TQRX_HintEx::HintPause() { return g_hintPause; }
void TQRX_HintEx::SetHintPause(int ms) { g_hintPause = ms; }
int TQRX_HintEx::HintHidePause() { return g_hintHidePause; }
void TQRX_HintEx::SetHintHidePause(int ms) { g_hintHidePause = ms; }
