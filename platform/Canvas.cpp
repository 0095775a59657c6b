#include "platform/Canvas.h"

#include <QFontMetrics>
#include <QPainter>

int TCanvas::FontStyle() const {
  int s = 0;
  if (font_.bold()) s |= fsBold;
  if (font_.italic()) s |= fsItalic;
  if (font_.underline()) s |= fsUnderline;
  if (font_.strikeOut()) s |= fsStrikeOut;
  return s;
}

void TCanvas::SetFontStyle(int styles) {
  QFont f = font_;
  f.setBold(styles & fsBold);
  f.setItalic(styles & fsItalic);
  f.setUnderline(styles & fsUnderline);
  f.setStrikeOut(styles & fsStrikeOut);
  SetFont(f);
}

// --- TQPainterCanvas ---

namespace {
// Latin text needs no shaping; without it the font's ligatures are not
// applied.
QFont Unshaped(QFont font) {
  font.setStyleStrategy(QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
  return font;
}
}  // namespace

TQPainterCanvas::TQPainterCanvas(QPainter* painter)
    : painter_(painter), device_(painter ? painter->device() : nullptr) {
  if (painter_) font_ = painter_->font();
  drawFont_ = Unshaped(font_);
}

TQPainterCanvas::TQPainterCanvas(QPaintDevice* measureDevice)
    : device_(measureDevice), drawFont_(Unshaped(font_)) {}

void TQPainterCanvas::SetPainter(QPainter* painter) {
  painter_ = painter;
  if (painter_ && painter_->device() != device_) {
    device_ = painter_->device();
    metrics_.reset();
  }
}

void TQPainterCanvas::SetFont(const QFont& font) {
  if (font == font_) return;
  TCanvas::SetFont(font);
  drawFont_ = Unshaped(font);
  metrics_.reset();
}

const QFontMetrics& TQPainterCanvas::Metrics() {
  if (!metrics_) {
    if (device_)
      metrics_.emplace(drawFont_, device_);
    else
      metrics_.emplace(drawFont_);
  }
  return *metrics_;
}

void TQPainterCanvas::FillRect(const QRect& rect) {
  if (!painter_ || brushStyle_ == TBrushStyle::Clear || rect.isEmpty()) return;
  painter_->fillRect(rect, brushColor_);
}

void TQPainterCanvas::TextOut(int x, int y, const QString& text) {
  if (!painter_ || text.isEmpty()) return;
  if (painter_->font() != drawFont_) painter_->setFont(drawFont_);
  const QFontMetrics& fm = Metrics();
  if (brushStyle_ == TBrushStyle::Solid)
    painter_->fillRect(QRect(x, y, fm.horizontalAdvance(text), fm.height()), brushColor_);
  painter_->setPen(fontColor_);
  painter_->drawText(QPoint(x, y + fm.ascent()), text);
}

int TQPainterCanvas::TextWidth(const QString& text) { return Metrics().horizontalAdvance(text); }

int TQPainterCanvas::TextHeight(const QString& /*text*/) { return Metrics().height(); }

void TQPainterCanvas::LineTo(int x, int y) {
  if (painter_) {
    QPen pen(penColor_);
    pen.setWidth(penWidth_);
    painter_->setPen(pen);
    painter_->drawLine(penPos_, QPoint(x, y));
  }
  penPos_ = QPoint(x, y);
}

void TQPainterCanvas::StretchDraw(const QRect& rect, const QImage& image) {
  if (painter_ && !image.isNull() && !rect.isEmpty()) painter_->drawImage(rect, image);
}

// --- TRecordingCanvas ---

TRecordingCanvas::Op TRecordingCanvas::Snapshot(Op::Kind kind) const {
  Op op{kind,  {},          {},          {},        {},        FontStyle(), fontColor_,
        font_, brushColor_, brushStyle_, penColor_, penWidth_, {}};
  return op;
}

void TRecordingCanvas::FillRect(const QRect& rect) {
  Op op = Snapshot(Op::Fill);
  op.rect = rect;
  ops_.push_back(op);
}

void TRecordingCanvas::TextOut(int x, int y, const QString& text) {
  Op op = Snapshot(Op::Text);
  op.from = QPoint(x, y);
  op.rect = QRect(x, y, TextWidth(text), TextHeight(text));
  op.text = text;
  ops_.push_back(op);
}

int TRecordingCanvas::TextWidth(const QString& text) {
  return static_cast<int>(text.size()) * (font_.bold() ? kBoldCharWidth : kCharWidth);
}

int TRecordingCanvas::TextHeight(const QString& /*text*/) { return kTextHeight; }

void TRecordingCanvas::LineTo(int x, int y) {
  Op op = Snapshot(Op::Line);
  op.from = penPos_;
  op.to = QPoint(x, y);
  ops_.push_back(op);
  penPos_ = QPoint(x, y);
}

void TRecordingCanvas::StretchDraw(const QRect& rect, const QImage& image) {
  Op op = Snapshot(Op::Image);
  op.rect = rect;
  op.image = image;
  ops_.push_back(op);
}

std::vector<TRecordingCanvas::Op> TRecordingCanvas::TextOps() const {
  std::vector<Op> out;
  for (const Op& op : ops_)
    if (op.kind == Op::Text) out.push_back(op);
  return out;
}
